// The sweep stepping rule shared by vorlaxen-calc --sweep and the explorer's curves.
#include "sweep.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

using fields::SweepProblem;

struct Plan {
    double start, stop, step;
    SweepProblem problem;
    std::size_t count;
};

TEST(Sweep, CountsAndProblems) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Plan cases[] = {
        {0, 1, 0.1, SweepProblem::None, 11}, // 10 x 0.1 lands a hair off 1: still reached
        {0, 50, 0.1, SweepProblem::None, 501},
        {0, 1, 0.3, SweepProblem::None, 4}, // 0.9 is the last not past 1
        {1, 0, -0.25, SweepProblem::None, 5},
        {2, 2, 1, SweepProblem::None, 1},
        {0, 1 - 1e-10, 0.1, SweepProblem::None, 11}, // within a billionth of a step
        {0, 1 - 1e-8, 0.1, SweepProblem::None, 10},  // beyond it
        {0, 999'999, 1, SweepProblem::None, 1'000'000},
        {0, 1'000'000, 1, SweepProblem::TooManyPoints, 0},
        {0, 1, 1e-300, SweepProblem::TooManyPoints, 0},
        {0, 1, 0, SweepProblem::ZeroStep, 0},
        {0, 1, -0.1, SweepProblem::AwayFromStop, 0},
        {0, nan, 1, SweepProblem::NotFinite, 0},
    };
    for (const auto& c : cases) {
        fields::Sweep sweep{7, 7, 7};
        EXPECT_EQ(fields::planSweep(c.start, c.stop, c.step, sweep), c.problem)
            << c.start << ":" << c.stop << ":" << c.step;
        EXPECT_EQ(sweep.count, c.problem == SweepProblem::None ? c.count : 7u);
    }
    fields::Sweep sweep;
    EXPECT_EQ(fields::planSweep(0, 100, 1, sweep, 100), SweepProblem::TooManyPoints);
}

TEST(Sweep, PointsAreComputedInDoubleAndStoredAsFloat) {
    fields::Sweep sweep;
    ASSERT_EQ(fields::planSweep(0, 1, 0.1, sweep), SweepProblem::None);
    // 3 x 0.1 is 0.30000000000000004 in double; stored, it is the float nearest 0.3.
    EXPECT_EQ(sweep.point(3), static_cast<float>(3 * 0.1));
    EXPECT_EQ(sweep.point(10), 1.0f);
    ASSERT_EQ(fields::planSweep(16777216, 16777218, 1, sweep), SweepProblem::None);
    EXPECT_EQ(sweep.point(1), 16777216.0f); // 16777217 has no float: rounded to even
}

TEST(Sweep, Numbers) {
    EXPECT_EQ(fields::parseSweepNumber("+1.5"), 1.5);
    EXPECT_EQ(fields::parseSweepNumber("-2e3"), -2000);
    for (const char* bad : {"", "+", "1,5", " 1", "1e39", "inf", "nan", "0x10", "++1"})
        EXPECT_FALSE(fields::parseSweepNumber(bad)) << bad;
}

} // namespace
