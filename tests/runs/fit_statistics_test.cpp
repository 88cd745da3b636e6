// The fit's standard errors over repeated noise: runs made by the model with known efficiencies
// and Gaussian noise, fitted back 200 times; each 1-sigma interval should hold the truth about
// 68 % of the time, and the reduced chi-square should come out as the noise's variance.
#include "fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

using runs::Measured;
using turbo::EngineInput;

runs::Assumption key(std::string_view k) {
    return *runs::assumptionFromKey(k);
}

// Box-Muller on the raw 32-bit draws: std::normal_distribution differs between libraries, the
// Mersenne twister does not, so the same seed gives the same noise everywhere.
class Noise {
public:
    explicit Noise(unsigned seed) : twister_(seed) {}
    double operator()() {
        const double u1 = (double(twister_()) + 1) / 4294967297.0;
        const double u2 = double(twister_()) / 4294967296.0;
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
    }

private:
    std::mt19937 twister_;
};

// 20 points from 8 to 30.8 psig with their exhaust temperature; thrust and fuel flow as the model
// predicts them with `truth`, each off by a relative error of standard deviation `sigma`.
runs::RunLog noisyRun(const turbo::EngineInputs& truth, double sigma, Noise& noise) {
    runs::RunLog log;
    for (int i = 0; i < 20; ++i) {
        runs::RunPoint point;
        point.line = std::size_t(i) + 2;
        point.values[std::size_t(Measured::P2)] = 8.0f + 1.2f * float(i);
        point.values[std::size_t(Measured::TurbineOutletTemp)] = 560.0f + 5.0f * float(i);
        const auto r = runs::modelAt(*runs::atPoint(truth, point).inputs);
        point.values[std::size_t(Measured::Thrust)] =
            float(r[turbo::EngineResult::Thrust] * (1 + sigma * noise()));
        point.values[std::size_t(Measured::FuelFlow)] =
            float(r[turbo::result("fuel-flow")] * (1 + sigma * noise()));
        log.points.push_back(point);
    }
    return log;
}

TEST(FitStatistics, StandardErrorsCoverTheTruthAtTheirRate) {
    constexpr int kRepetitions = 200;
    constexpr double kSigma = 0.01;
    // Two binomial standard deviations of a 68.3 % rate over 200 tries: 0.066.
    constexpr double kRate = 0.683, kTolerance = 0.066;
    turbo::EngineInputs truth;
    truth[EngineInput::TurbineEfficiency] = 74;
    truth[EngineInput::CompEfficiency] = 66;
    truth[turbo::input("combustion-efficiency")] = 90;
    const runs::Assumption chosen[] = {key("turbine-efficiency"), key("comp-efficiency"),
                                       key("combustion-efficiency")};
    const float truths[] = {74, 66, 90};
    int covered[3] = {};
    double reduced = 0;
    Noise noise(20261209);
    for (int k = 0; k < kRepetitions; ++k) {
        const auto result =
            runs::fit(turbo::EngineInputs{}, noisyRun(truth, kSigma, noise), chosen);
        ASSERT_TRUE(std::holds_alternative<runs::FitResult>(result));
        const auto& r = std::get<runs::FitResult>(result);
        ASSERT_EQ(r.dof, 37u); // 40 measured values, 3 assumptions
        for (int j = 0; j < 3; ++j)
            covered[j] += std::abs(r.values[j].fitted - truths[j]) <= r.values[j].stdError;
        reduced += r.reducedChiSquare / kRepetitions;
    }
    for (int j = 0; j < 3; ++j)
        EXPECT_NEAR(double(covered[j]) / kRepetitions, kRate, kTolerance) << "assumption " << j;
    EXPECT_NEAR(reduced, kSigma * kSigma, 0.1 * kSigma * kSigma);
}

TEST(FitStatistics, FewDegreesOfFreedomAreSaidPlainly) {
    struct Case {
        std::size_t points, dof;
        const char* says;
        bool errors; // whether standard errors can be given
    };
    const Case cases[] = {
        {1, 0, "no degrees of freedom", false},
        {2, 1, "one degree of freedom", true},
        {3, 2, "", true},
    };
    Noise noise(7);
    const auto full = noisyRun(turbo::EngineInputs{}, 0.01, noise);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        auto log = full;
        log.points.resize(c.points);
        for (auto& p : log.points)
            p.values[std::size_t(Measured::FuelFlow)].reset();
        const runs::Assumption chosen[] = {key("turbine-efficiency")};
        const auto result = runs::fit(turbo::EngineInputs{}, log, chosen);
        ASSERT_TRUE(std::holds_alternative<runs::FitResult>(result));
        const auto& r = std::get<runs::FitResult>(result);
        EXPECT_EQ(r.dof, c.dof);
        EXPECT_EQ(std::isfinite(r.values[0].stdError), c.errors);
        if (*c.says) {
            ASSERT_EQ(r.warnings.size(), 1u);
            EXPECT_NE(r.warnings[0].find(c.says), std::string::npos) << r.warnings[0];
        } else {
            EXPECT_TRUE(r.warnings.empty());
        }
    }
}

} // namespace
