// Curves: the points are the engine's figures at the sweep rule's points, NaN stays a gap, and
// each gap is explained in the display units.
#include "number_text.hpp"
#include "workspace.hpp"

#include "evaluate_point.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

using explorer::Candidate;
using explorer::CurveRequest;
using explorer::EngineInput;
using explorer::EngineResult;
using fields::UnitSystem;

std::uint32_t bits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

// The curves as the explorer works them out: through its workspace.
explorer::Workspace swept(std::vector<Candidate> list, const CurveRequest& request) {
    explorer::Workspace work(std::move(list));
    work.setRequest(request);
    return work;
}

TEST(Curves, PointsAreTheEnginesFiguresInDisplayUnits) {
    const auto candidates = explorer::startingCandidates();
    for (auto units : {UnitSystem::Forms, UnitSystem::Metric}) {
        CurveRequest request;
        request.units = units;
        request.to = units == UnitSystem::Forms ? 50 : 3.5;
        request.step = units == UnitSystem::Forms ? 0.1 : 0.01;
        request.results = {EngineResult::Thrust, EngineResult::NozzleDiameter,
                           EngineResult::TurbineOutletTemp};
        const auto work = swept(candidates, request);
        const auto& x = work.sweepPoints();
        ASSERT_EQ(work.sweepProblem(), fields::SweepProblem::None);
        ASSERT_EQ(x.size(), units == UnitSystem::Forms ? 501u : 351u);
        for (std::size_t c = 0; c < candidates.size(); ++c) {
            auto in = *explorer::engineInputs(candidates[c]);
            for (std::size_t i = 0; i < x.size(); i += 7) {
                EXPECT_EQ(x[i], static_cast<float>(request.from + double(i) * request.step));
                in[EngineInput::P2] =
                    fields::fromDisplay(fields::Quantity::GaugePressure, units, x[i]);
                const auto r = point::evaluatePoint({in}).results;
                for (std::size_t k = 0; k < request.results.size(); ++k) {
                    const auto result = request.results[k];
                    const float expected =
                        fields::toDisplay(turbo::engineField(result).quantity, units, r[result]);
                    EXPECT_EQ(bits(work.curves(c).results[k].y[i]), bits(expected));
                }
            }
        }
    }
}

// No thrust where the nozzle pressure ratio is below 1: the points there are NaN (never 0), and
// the row says from where on there is a figure.
TEST(Curves, GapsAreNaNAndExplained) {
    const auto work = swept({Candidate("A")}, CurveRequest{});
    const auto& x = work.sweepPoints();
    const auto& thrust = work.curves(0).results[0];
    std::size_t first = 0;
    while (std::isnan(thrust.y[first]))
        ++first;
    ASSERT_GT(first, 0u);
    for (std::size_t i = first; i < thrust.y.size(); ++i)
        ASSERT_TRUE(std::isfinite(thrust.y[i]) && thrust.y[i] > 0) << x[i];
    // Independently: the nozzle pressure ratio crosses 1 between the two points.
    auto nozzlePr = [](float p2) {
        turbo::EngineInputs in;
        in[EngineInput::P2] = p2;
        return point::evaluatePoint({in}).results[EngineResult::NozzlePr];
    };
    EXPECT_LT(nozzlePr(x[first - 1]), 1.0f);
    EXPECT_GE(nozzlePr(x[first]), 1.0f);
    EXPECT_EQ(thrust.gaps, "no thrust for P2 = 0 to " + fields::formatFloat(x[first - 1]) +
                               " psig: nozzle PR below 1");
    const auto runs = explorer::finiteRuns(thrust.y);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].first, first);
    EXPECT_EQ(runs[0].last, thrust.y.size());
}

struct Gap {
    EngineInput swept;
    double from, to, step;
    UnitSystem units;
    EngineResult result;
    const char* text;
};

TEST(Curves, GapCauses) {
    const Gap cases[] = {
        {EngineInput::P2, 0, 3.5, 0.01, UnitSystem::Metric, EngineResult::Thrust,
         "no thrust for P2 = 0 to 0.2 bar g: nozzle PR below 1"},
        {EngineInput::P2, 50, 0, -0.5, UnitSystem::Forms, EngineResult::NozzleVelocity,
         "no nozzle velocity for P2 = 0 to 2.5 psig: nozzle PR below 1"},
        {EngineInput::P2, 0, 50, 1, UnitSystem::Forms, EngineResult::NozzleExitTemp, ""},
        // 0 % is no efficiency at all; up to 13 % the turbine cannot drive the compressor.
        {EngineInput::TurbineEfficiency, 0, 100, 1, UnitSystem::Forms,
         EngineResult::TurbinePrRequired,
         "no turbine PR required at turbine efficiency = 0 %: Turbine Efficiency is outside an "
         "efficiency's range: above 0, at most 100 %; no turbine PR required for turbine "
         "efficiency = 1 to 13 %: turbine efficiency too low to drive the compressor"},
        {EngineInput::P2, -20, 10, 0.5, UnitSystem::Forms, EngineResult::Thrust,
         "no thrust for P2 = -20 to -15 psig: P2 with the ambient pressure gives an absolute "
         "pressure not above zero; no thrust for "
         "P2 = -14.5 to -13.5 psig: compressor PR below the pressure loss of 0.1; no thrust for "
         "P2 = -13 to 2.5 psig: nozzle PR below 1"},
        {EngineInput::AmbientPressure, -1, 1, 1, UnitSystem::Forms, EngineResult::CompTempRise,
         "no compressor temperature rise for ambient pressure = -1 to 0 psi: Ambient Pressure is "
         "not above zero, as an absolute pressure is"},
        {EngineInput::MassFlow, -1, 1, 0.5, UnitSystem::Forms, EngineResult::NozzleDiameter,
         "no jet nozzle diameter for mass flow rate = -1 to -0.5 lb/s: mass flow below 0"},
        {EngineInput::CompOutletDiameter, 0, 1, 1, UnitSystem::Metric, EngineResult::MaxRpm,
         "no max RPM at compressor outlet diameter = 0 mm: compressor outlet diameter 0"},
    };
    for (const auto& c : cases) {
        CurveRequest request;
        request.swept = c.swept;
        request.from = c.from;
        request.to = c.to;
        request.step = c.step;
        request.units = c.units;
        request.results = {c.result};
        EXPECT_EQ(swept({Candidate("A")}, request).curves(0).results[0].gaps, c.text);
    }
}

// The reasons are the evaluation's own, with the candidate's own inputs: a pressure loss of 0.5
// stops the jet below a compressor PR of 0.5, (P2 + 14.7) / 14.7 < 0.5, so up to P2 = -7.35; a
// custom fuel of 1 MJ/kg leaves 0.95 x 1000 - 1.1556 x 1061 K < 0 kJ/kg to heat the gas.
TEST(Curves, GapCausesFromTheCandidatesOwnInputs) {
    const struct {
        float pressureLoss;
        turbo::Fuel fuel;
        float lhv;
        double from, to, step;
        EngineResult result;
        const char* text; // found in the gaps
    } cases[] = {
        {0.5f, turbo::Fuel::Kerosene, 43.2f, -20, 10, 0.5, EngineResult::Thrust,
         "no thrust for P2 = -14.5 to -7.5 psig: compressor PR below the pressure loss of 0.5"},
        {0.1f, turbo::Fuel::Custom, 1.0f, 0, 50, 10, turbo::result("fuel-flow"),
         "no fuel flow for P2 = 0 to 50 psig: fuel cannot heat the gas to the turbine inlet "
         "temperature"},
    };
    for (const auto& c : cases) {
        Candidate a("A");
        a[turbo::input("pressure-loss")] = explorer::Cell::number(c.pressureLoss);
        a.fuel = c.fuel;
        a[turbo::input("fuel-lhv")] = explorer::Cell::number(c.lhv);
        CurveRequest request;
        request.from = c.from;
        request.to = c.to;
        request.step = c.step;
        request.results = {c.result};
        const auto work = swept({a}, request);
        EXPECT_NE(work.curves(0).results[0].gaps.find(c.text), std::string::npos)
            << work.curves(0).results[0].gaps;
    }
}

// A sweep that carries an input past its physical range: those points have no figures and say
// why, the others keep theirs (-300 and -280 deg. C lie below -273.15; -260 does not).
TEST(Curves, SweptPastThePhysicalRangeHasNoFigures) {
    CurveRequest request;
    request.swept = EngineInput::AmbientTemp;
    request.from = -300;
    request.to = -260;
    request.step = 20;
    const auto work = swept({Candidate("A")}, request);
    const auto& thrust = work.curves(0).results[0];
    ASSERT_EQ(thrust.y.size(), 3u);
    EXPECT_TRUE(std::isnan(thrust.y[0]));
    EXPECT_TRUE(std::isnan(thrust.y[1]));
    EXPECT_TRUE(std::isfinite(thrust.y[2]));
    EXPECT_NE(thrust.gaps.find("absolute zero"), std::string::npos) << thrust.gaps;
}

TEST(Curves, SweptMassFlowOverridesTheEstimate) {
    Candidate c("A");
    c.massFlowSource = explorer::MassFlowSource::Estimate;
    CurveRequest request;
    request.swept = EngineInput::MassFlow;
    request.from = 1;
    request.to = 2;
    request.step = 1;
    const auto work = swept({c}, request);
    const auto& y = work.curves(0).results[0].y;
    EXPECT_EQ(y[1], y[0] * 2); // thrust is proportional to the mass flow
}

TEST(Curves, NothingForABadRowOrABadSweep) {
    std::vector<Candidate> list = explorer::startingCandidates();
    list[1][EngineInput::HubDiameter] = explorer::Cell{0, "x", true};
    const auto work = swept(list, CurveRequest{});
    EXPECT_EQ(work.curves(0).results.size(), 1u);
    EXPECT_TRUE(work.curves(1).results.empty());
    EXPECT_EQ(work.curves(1).problem,
              "Candidate \"Smaller wheel\", Hub Diameter: \"x\" is not a number");

    CurveRequest away;
    away.step = -1;
    const auto refused = swept(list, away);
    EXPECT_EQ(refused.sweepProblem(), fields::SweepProblem::AwayFromStop);
    EXPECT_TRUE(refused.sweepPoints().empty());
    EXPECT_TRUE(refused.curves(0).results.empty());
}

} // namespace
