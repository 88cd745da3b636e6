// Fitting a candidate to a run log: predictions made by the program at chosen assumptions, with
// noise added, are fitted back from the defaults; fits that cannot be made say why.
#include "fit.hpp"

#include "evaluate_point.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using runs::Assumption;
using runs::Measured;
using turbo::EngineInput;

Assumption key(std::string_view k) {
    return *runs::assumptionFromKey(k);
}

// A log of the engine run from 12 to 36 psig, its thrust (and mass flow, with egt the exhaust
// temperature) as the program predicts them with `truth`, each off by a fixed pattern of relative
// errors of up to `noise`.
runs::RunLog madeUpLog(const turbo::EngineInputs& truth, float noise, bool withEgt,
                       bool withMassFlow, bool withFuel = false) {
    static const double pattern[] = {1, -1, 0.5, -0.5, 0, 0.8, -0.3};
    runs::RunLog log;
    log.file = "made up";
    for (int i = 0; i < 7; ++i) {
        runs::RunPoint point;
        point.line = std::size_t(i) + 2;
        point.values[std::size_t(Measured::P2)] = 12.0f + 4.0f * float(i);
        if (withEgt)
            point.values[std::size_t(Measured::TurbineOutletTemp)] = 560.0f + 15.0f * float(i);
        const auto r = runs::modelAt(*runs::atPoint(truth, point).inputs);
        const double off = 1 + noise * pattern[i];
        point.values[std::size_t(Measured::Thrust)] = float(r[turbo::EngineResult::Thrust] * off);
        if (withMassFlow)
            point.values[std::size_t(Measured::MassFlow)] = float(r.massFlow * (2 - off));
        if (withFuel)
            point.values[std::size_t(Measured::FuelFlow)] =
                float(r[turbo::result("fuel-flow")] * (2 - off));
        log.points.push_back(point);
    }
    log.hasColumn[std::size_t(Measured::Thrust)] = true;
    return log;
}

struct Recovery {
    const char* what;
    const char* assumption;
    float truth;
    float noise;
    bool withEgt, withMassFlow, withFuel;
    float tolerance; // in the assumption's unit
};

TEST(Fit, RecoversTheAssumptionsThePredictionsWereMadeWith) {
    // With 1 % noise on the thrust an efficiency comes back within half a point, the mass flow
    // and the factor within 1 %; without noise, within the float rounding of the figures.
    const Recovery cases[] = {
        {"turbine efficiency, exact", "turbine-efficiency", 71, 0, false, false, false, 0.01f},
        {"turbine efficiency", "turbine-efficiency", 71, 0.01f, false, false, false, 0.5f},
        {"turbine efficiency with egt", "turbine-efficiency", 84, 0.01f, true, false, false, 0.5f},
        {"nozzle efficiency", "nozzle-efficiency", 82, 0.01f, false, false, false, 0.5f},
        {"compressor efficiency with egt", "comp-efficiency", 64, 0.01f, true, false, false, 0.5f},
        {"mass flow, thrust and flow measured", "mass-flow", 1.1f, 0.01f, false, true, false,
         0.011f},
        {"combustion efficiency, fuel measured", "combustion-efficiency", 88, 0.01f, true, false,
         true, 0.5f},
        {"estimate factor", "mass-flow-factor", 0.85f, 0.01f, true, false, false, 0.0085f},
        {"pressure loss", "pressure-loss", 0.2f, 0.01f, true, false, false, 0.01f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const turbo::EngineInputs defaults;
        auto truth = defaults;
        const Assumption a = key(c.assumption);
        if (a == key("mass-flow-factor")) {
            truth.massFlowSource = turbo::MassFlowSource::Typed;
            truth[EngineInput::MassFlow] =
                c.truth *
                point::evaluatePoint({defaults}).results[turbo::EngineResult::MassFlowEstimate];
        } else {
            truth[runs::inputOf(a)] = c.truth;
        }
        const auto log = madeUpLog(truth, c.noise, c.withEgt, c.withMassFlow, c.withFuel);
        const Assumption chosen[] = {a};
        const auto result = runs::fit(defaults, log, chosen);
        ASSERT_TRUE(std::holds_alternative<runs::FitResult>(result))
            << std::get<runs::FitError>(result).message;
        const auto& r = std::get<runs::FitResult>(result);
        EXPECT_TRUE(r.converged);
        EXPECT_NEAR(r.values.at(0).fitted, c.truth, c.tolerance);
        EXPECT_LT(r.rms, r.rmsBefore);
        EXPECT_LE(r.rms, c.noise + 1e-5); // no worse than the noise put in
    }
}

TEST(Fit, TwoAssumptionsAtOnce) {
    // Turbine efficiency moves the thrust more at high boost; the mass flow scales it alike at
    // every point and is measured too, so the two separate.
    turbo::EngineInputs truth;
    truth[EngineInput::TurbineEfficiency] = 74;
    truth[EngineInput::MassFlow] = 1.25f;
    const auto log = madeUpLog(truth, 0.005f, false, true);
    const Assumption chosen[] = {key("turbine-efficiency"), key("mass-flow")};
    const auto result = runs::fit(turbo::EngineInputs{}, log, chosen);
    ASSERT_TRUE(std::holds_alternative<runs::FitResult>(result))
        << std::get<runs::FitError>(result).message;
    const auto& r = std::get<runs::FitResult>(result);
    EXPECT_NEAR(r.values[0].fitted, 74, 1.0);
    EXPECT_NEAR(r.values[1].fitted, 1.25, 0.0125);
    EXPECT_EQ(r.calibrated[EngineInput::TurbineEfficiency], r.values[0].fitted);
    EXPECT_EQ(r.comparisons.size(), 14u);
    EXPECT_TRUE(r.warnings.empty());
}

TEST(Fit, WarnsWhatTheFiguresDoNotShowEveryOne) {
    // Half again the thrust of the defaults asks both the turbine and the nozzle for more than
    // 100 %, and from thrust alone the two move it alike: three notes, none hiding another.
    auto log = madeUpLog(turbo::EngineInputs{}, 0.005f, false, false);
    for (auto& p : log.points)
        *p.values[std::size_t(Measured::Thrust)] *= 1.5f;
    const Assumption chosen[] = {key("nozzle-efficiency"), key("turbine-efficiency")};
    const auto result = runs::fit(turbo::EngineInputs{}, log, chosen);
    ASSERT_TRUE(std::holds_alternative<runs::FitResult>(result));
    const auto& warnings = std::get<runs::FitResult>(result).warnings;
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find("nozzle-efficiency stopped at the end of its range (30 to 100)"),
              std::string::npos)
        << warnings[0];
    EXPECT_NE(warnings[1].find("turbine-efficiency stopped at the end of its range"),
              std::string::npos)
        << warnings[1];
    EXPECT_NE(warnings[2].find("cannot tell nozzle-efficiency, turbine-efficiency apart"),
              std::string::npos)
        << warnings[2];
}

TEST(Fit, APoorStartIsTriedAgainFromOthers) {
    // From 30.1 % the logistic range is nearly flat and the first try stays at the end; at 40 %
    // the model cannot run the engine at any point. Other starts find the truth inside.
    struct Case {
        const char* key;
        float start, truth;
    };
    const Case cases[] = {{"nozzle-efficiency", 30.1f, 85}, {"turbine-efficiency", 40, 72}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        auto truth = turbo::EngineInputs{};
        truth[runs::inputOf(key(c.key))] = c.truth;
        const auto log = madeUpLog(truth, 0.005f, true, false);
        auto candidate = truth;
        candidate[runs::inputOf(key(c.key))] = c.start;
        const Assumption chosen[] = {key(c.key)};
        const auto result = runs::fit(candidate, log, chosen);
        ASSERT_TRUE(std::holds_alternative<runs::FitResult>(result))
            << std::get<runs::FitError>(result).message;
        const auto& r = std::get<runs::FitResult>(result);
        EXPECT_NEAR(r.values[0].fitted, c.truth, 0.5f);
        EXPECT_TRUE(r.warnings.empty());
        EXPECT_TRUE(r.skipped.empty());
    }
}

struct Refused {
    const char* what;
    std::vector<const char*> chosen;
    void (*spoil)(runs::RunLog&);
    const char* says;
};

TEST(Fit, SaysWhyAFitCannotBeMade) {
    const Refused cases[] = {
        {"nothing chosen", {}, [](runs::RunLog&) {}, "choose what to fit"},
        {"chosen twice",
         {"nozzle-efficiency", "nozzle-efficiency"},
         [](runs::RunLog&) {},
         "nozzle-efficiency is chosen twice"},
        {"flow and factor", {"mass-flow", "mass-flow-factor"}, [](runs::RunLog&) {}, "not both"},
        {"too few points",
         {"turbine-efficiency", "nozzle-efficiency", "comp-efficiency"},
         [](runs::RunLog& log) { log.points.resize(2); },
         "3 assumptions need at least 3 measured values"},
        {"quantity not measured",
         {"nozzle-efficiency"},
         [](runs::RunLog& log) {
             for (auto& p : log.points)
                 p.values[std::size_t(Measured::Thrust)].reset();
         },
         "fitting nozzle-efficiency needs a measured thrust; the log has none"},
        {"no point the model works out",
         {"turbine-efficiency"},
         [](runs::RunLog& log) {
             for (auto& p : log.points)
                 p.values[std::size_t(Measured::P2)].reset();
         },
         "needs a measured thrust at a point the model can work out; line 2: no P2 (or speed, "
         "with a compressor map)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto log = madeUpLog(turbo::EngineInputs{}, 0, false, false);
        c.spoil(log);
        std::vector<Assumption> chosen;
        for (const auto* k : c.chosen)
            chosen.push_back(key(k));
        const auto result = runs::fit(turbo::EngineInputs{}, log, chosen);
        ASSERT_TRUE(std::holds_alternative<runs::FitError>(result));
        const auto& message = std::get<runs::FitError>(result).message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
}

} // namespace

namespace {

// The shipped log was made with the program at turbine efficiency 68 %, compressor 68 %, nozzle
// 90 %, 0.78 times the wheel's estimate and 90 % combustion efficiency, then its thrust and fuel
// flow moved by up to 2 %: it reads, and a fit of the turbine efficiency, the factor and the
// combustion efficiency matches it to its noise. (With that noise they come back only roughly.)
TEST(Fit, TheShippedRunLogFits) {
    const auto read = runs::loadRunLog(VX_EXAMPLE_RUN_LOG);
    ASSERT_TRUE(std::holds_alternative<runs::RunLog>(read))
        << std::get<runs::RunLogError>(read).text();
    const auto& log = std::get<runs::RunLog>(read);
    EXPECT_EQ(log.points.size(), 9u);
    turbo::EngineInputs candidate;
    candidate[EngineInput::CompEfficiency] = 68;
    const Assumption chosen[] = {key("turbine-efficiency"), key("mass-flow-factor"),
                                 key("combustion-efficiency")};
    const auto result = runs::fit(candidate, log, chosen);
    ASSERT_TRUE(std::holds_alternative<runs::FitResult>(result));
    const auto& r = std::get<runs::FitResult>(result);
    EXPECT_TRUE(r.converged);
    EXPECT_NEAR(r.values[0].fitted, 68, 3);
    EXPECT_NEAR(r.values[1].fitted, 0.78, 0.06);
    // The log's fuel was made with the earlier constant-heat-capacity fuel-air ratio at 90 %; the
    // enthalpy balance needs about 12.5 % less fuel for the same heating (0.01702 against 0.01946
    // at the default point), so the same fuel flows now read as about 0.875 x 90 = 79 %.
    EXPECT_NEAR(r.values[2].fitted, 79, 7);
    EXPECT_LT(r.rms, 0.012);
}

} // namespace
