// Round steps and ends for axes and sweeps, worked out by hand.
#include "round_numbers.hpp"

#include <gtest/gtest.h>

namespace {

TEST(RoundNumbers, StepsAndRanges) {
    const struct {
        double step, round;
    } steps[] = {{0.0068948, 0.01}, {0.1, 0.1}, {0.1000000001, 0.1}, {0.11, 0.2}, {3, 5},
                 {7, 10},           {0.5, 0.5}, {1234, 2000}};
    for (const auto& s : steps)
        EXPECT_DOUBLE_EQ(explorer::roundStepAtLeast(s.step), s.round) << s.step;

    const struct {
        double from, to, step, wantFrom, wantTo, wantStep;
    } sweeps[] = {
        // The P2 default, 0 to 50 psig by 0.1, in bar: 50 x 0.0689476 = 3.44738.
        {0, 3.44738, 0.00689476, 0, 3.5, 0.01},
        {0, 50, 0.1, 0, 50, 0.1}, // already round: unchanged
        {35, 105, 0.7, 30, 110, 1},
        {6.45, 2.15, -0.043, 7, 2, -0.05}, // falling stays falling
    };
    for (const auto& s : sweeps) {
        const auto r = explorer::roundSweep(s.from, s.to, s.step);
        EXPECT_DOUBLE_EQ(r.from, s.wantFrom) << s.from;
        EXPECT_DOUBLE_EQ(r.to, s.wantTo) << s.to;
        EXPECT_DOUBLE_EQ(r.step, s.wantStep) << s.step;
    }
    const auto axis = explorer::roundAxis(-3.2, 61.7, 6); // 64.9 / 6 = 10.8 -> 20
    EXPECT_DOUBLE_EQ(axis.step, 20);
    EXPECT_DOUBLE_EQ(axis.from, -20);
    EXPECT_DOUBLE_EQ(axis.to, 80);
}

} // namespace
