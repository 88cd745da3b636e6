// The engine across its speed range. Expected figures are worked out by hand or in a separate
// script from the equations (bisection, no code shared), or taken from published tables.
#include "engine.hpp"
#include "flow_function.hpp"
#include "fuel.hpp"
#include "gas_properties.hpp"
#include "running_line.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using offdesign::LineGap;

void expectRelative(double actual, double expected, double tolerance, const char* what) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * tolerance) << what;
}

TEST(FlowFunction, ChokedAndUnchokedAgainstHandWorkedValues) {
    // k = sqrt(2 x 32.2 / 0.248 / 96) = 1.644680; phi = k r^-0.752 sqrt(1 - r^-0.248).
    const auto gas = turbo::cycleGas();
    expectRelative(turbo::criticalPressureRatio(gas), 1.850475, 1e-6, "critical ratio");
    const struct {
        double ratio, phi;
    } table[] = {
        {0.9, 0},         {1.0, 0},       {1.1, 0.2339852}, {1.5, 0.3750052}, {1.850475, 0.3895321},
        {2.5, 0.3895321}, {10, 0.3895321}};
    for (const auto& row : table)
        EXPECT_NEAR(turbo::flowFunction(gas, row.ratio), row.phi, 1e-6) << row.ratio;
    // The textbook figure for air choked, W sqrt(T0) / (A p0) = 0.0404 kg sqrt(K) / (s m² Pa)
    // with gamma 1.4 and R = 287 J/(kg K) (Saravanamuttoo et al.).
    EXPECT_NEAR(turbo::flowFunction({1.4, 287.05, 1}, 3), 0.04042, 2e-5);
}

// The candidate's design point (defaults: P2 32, 788 deg. C, 1.41 lb/s) sets both areas.
offdesign::LineSetup designSetup() {
    offdesign::LineSetup s;
    const auto areas = offdesign::designAreas(s.assumed, 32, 788, 1.41);
    s.turbineArea = areas.turbine;
    s.nozzleArea = areas.nozzle;
    return s;
}

TEST(RunningLine, MatchedPointsAgainstAnIndependentBalance) {
    const auto s = designSetup();
    expectRelative(s.turbineArea, 2.6067958, 1e-7, "turbine area");
    expectRelative(s.nozzleArea, 5.8272519, 1e-7, "nozzle area");
    const offdesign::RunningLine line(s, 1, 50);
    const struct {
        double p2, tit, massFlow, thrust;
    } table[] = {
        {20, 658.16978, 1.1056257, 33.689803},
        {32, 788.0, 1.41, 58.633267},
        {45, 981.10095, 1.6696704, 92.094604}, // nozzle choked: pressure thrust added
    };
    for (const auto& row : table) {
        const auto p = line.at(row.p2);
        ASSERT_EQ(p.gap, LineGap::None) << row.p2;
        expectRelative(p.cycle.tit, row.tit, 1e-7, "inlet temperature");
        expectRelative(p.massFlow, row.massFlow, 1e-7, "air flow");
        expectRelative(p.thrust, row.thrust, 1e-7, "thrust");
    }
}

TEST(RunningLine, ThroughTheDesignPointAndBalancedAllAlong) {
    const auto s = designSetup();
    const auto design = turbo::evaluateEngine(turbo::EngineInputs{});
    const offdesign::RunningLine line(s, 1, 50);
    const auto p = line.at(32);
    expectRelative(p.massFlow, design.massFlow, 1e-6, "air flow");
    expectRelative(p.cycle.tit, design.turbineInletTemp, 1e-6, "inlet temperature");
    expectRelative(p.thrust, design[turbo::EngineResult::Thrust], 1e-6, "thrust");
    int balanced = 0;
    for (int i = 0; i < 200; ++i) {
        const auto q = line.at(8 + 0.2 * i);
        if (q.gap != LineGap::None)
            continue;
        ++balanced;
        EXPECT_LE(std::abs(q.residual), 1e-9) << q.p2;
        const double wt = offdesign::turbineFlow(q.cycle, s.turbineArea);
        const double wn = offdesign::nozzleFlow(q.cycle, s.nozzleArea);
        EXPECT_LE(std::abs(wt - wn), 1e-9 * wt) << q.p2;
    }
    EXPECT_EQ(balanced, 200);
}

TEST(RunningLine, NamesWhyAPointHasNoFigures) {
    auto s = designSetup();
    const offdesign::RunningLine line(s, 1, 50);
    // P2 1 psi: ratio 1.068, less 0.1 is below ambient.
    EXPECT_EQ(line.at(1).gap, LineGap::NoBoost);
    EXPECT_EQ(line.at(std::nan("")).gap, LineGap::NotANumber);
    // A design point at P2 0 leaves the nozzle a ratio of 0.9: no flow, so no area to take.
    auto unmade = s;
    unmade.nozzleArea = offdesign::designAreas(s.assumed, 0, 788, 1.41).nozzle;
    EXPECT_EQ(offdesign::RunningLine(unmade, 1, 50).at(32).gap, LineGap::NoArea);
    // Inlet held fixed: a 141.6 K drop at 78 % needs more than 181.5 K (-91.5 deg. C) to drive
    // the compressor at all, and at 100 deg. C the turbine takes all the pressure.
    s.nozzleArea = offdesign::kNoValue;
    s.fixedTit = -100;
    EXPECT_EQ(offdesign::RunningLine(s, 1, 50).at(32).gap, LineGap::TurbineTooWeak);
    s.fixedTit = 100;
    EXPECT_EQ(offdesign::RunningLine(s, 1, 50).at(32).gap, LineGap::NoJet);
}

TEST(RunningLine, IdleAndTheFirstLimit) {
    const offdesign::RunningLine line(designSetup(), 1, 50);
    const auto& sum = line.summary();
    // The inlet reaches its 788 deg. C limit at the design point.
    ASSERT_TRUE(sum.firstLimitP2);
    EXPECT_NEAR(*sum.firstLimitP2, 32, 2e-4);
    EXPECT_EQ(sum.firstLimit, "turbine-inlet-temp-limit");
    // Idle: where the loss of 0.1 no longer takes all the boost, P2 = 0.1 x 14.7 = 1.47 psi,
    // the line begins to balance; the first balanced points need more than 788 deg. C.
    ASSERT_TRUE(sum.idleP2);
    EXPECT_GT(*sum.idleP2, 1.47);
    EXPECT_LT(*sum.idleP2, 8);
    EXPECT_FALSE(line.at(*sum.idleP2 - 1e-3).selfSustaining(line.setup().limits));
}

// A map traced around the line: corrected flow in lb/min at 288 K and 14.7 psi, so that on the
// standard day it is the air flow x 60.
compmap::CompressorMap testMap() {
    using compmap::LineKind;
    compmap::CompressorMap m;
    m.lines = {
        {LineKind::Surge, 0, {{30, 1.8f}, {60, 2.6f}, {80, 3.6f}, {100, 4.0f}, {115, 4.8f}}},
        {LineKind::Speed, 60000, {{20, 1.7f}, {70, 1.4f}}},
        {LineKind::Speed, 80000, {{30, 2.4f}, {90, 2.0f}}},
        {LineKind::Speed, 100000, {{40, 3.3f}, {110, 2.8f}}},
        {LineKind::Speed, 120000, {{50, 4.3f}, {120, 3.7f}}},
        {LineKind::Island, 66, {{35, 1.5f}, {100, 2.0f}, {120, 4.5f}, {60, 4.5f}}},
        {LineKind::Island, 72, {{50, 2.0f}, {85, 2.5f}, {95, 3.8f}, {70, 3.4f}}},
    };
    return m;
}

TEST(RunningLine, OnTheMap) {
    const auto map = testMap();
    auto s = designSetup();
    s.map = &map;
    s.efficiencyFromMap = true;
    const offdesign::RunningLine line(s, 1, 60);
    for (const double p2 : {15.0, 25.0, 35.0, 45.0}) {
        const auto p = line.at(p2);
        ASSERT_EQ(p.gap, LineGap::None) << p2;
        // Settled: the island holding the point is the one whose efficiency placed it.
        ASSERT_TRUE(p.onMap && p.onMap->efficiency) << p2;
        EXPECT_EQ(*p.onMap->efficiency, p.compEfficiency) << p2;
        expectRelative(p.onMap->correctedFlow, p.massFlow * 60, 1e-6, "corrected flow");
    }
    EXPECT_EQ(line.at(60).gap, LineGap::OutsideIslands); // above every island
    // Speed as the swept variable: the point found runs at that speed.
    const auto at100k = line.atSpeed(100000);
    ASSERT_TRUE(at100k);
    EXPECT_NEAR(*at100k->onMap->speed, 100000, 0.1);
    EXPECT_FALSE(line.atSpeed(150000));
    // Crossings: the surge margin changes sign there, the top speed line is passed there.
    const auto& sum = line.summary();
    ASSERT_TRUE(sum.surgeP2 && sum.topSpeedP2);
    EXPECT_GE(*line.at(*sum.surgeP2 - 1e-3).onMap->surgeMargin, 0);
    EXPECT_LT(*line.at(*sum.surgeP2 + 1e-3).onMap->surgeMargin, 0);
    EXPECT_FALSE(line.at(*sum.topSpeedP2 - 1e-3).overSpeed);
    EXPECT_TRUE(line.at(*sum.topSpeedP2 + 1e-3).overSpeed);
}

// An independent variable-property balance: NASA polynomials (GRI-Mech 3.0 thermodynamic data)
// for N2, O2, Ar, CO2 and H2O, dry air by mole fraction, kerosene C12H23 at 43.2 MJ/kg, worked in
// a separate script. The program's polynomials agree within 1 % over the engine's range.
TEST(FuelAirRatio, WithinOnePercentOfAnIndependentBalance) {
    const struct {
        double t2, t3, efficiency, far;
    } table[] = {
        {0, 400, 1, 0.00971883},      {0, 1100, 1, 0.0300929},     {250, 400, 0.95, 0.00392018},
        {250, 1100, 0.95, 0.0251255}, {100, 750, 0.95, 0.0178336}, {200, 1000, 0.9, 0.0245253},
    };
    for (const auto& row : table) {
        const auto b =
            turbo::gas::fuelAirBalance(row.t2 + 273.15, row.t3 + 273.15, 43200, row.efficiency);
        expectRelative(b.heatNeeded / b.heatLeft, row.far, 0.01, "fuel-air ratio");
    }
    // Stoichiometric: C12H23 0.0682 and propane 0.0638 (the usual tabulated figures).
    EXPECT_NEAR(turbo::gas::stoichiometricFuelAirRatio(23.0 / 12), 0.0682, 1e-4);
    EXPECT_NEAR(turbo::gas::stoichiometricFuelAirRatio(8.0 / 3), 0.0638, 1e-4);
}

} // namespace
