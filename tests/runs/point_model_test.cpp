// The candidate at a run log's points: P2 read from the map at the point's speed, a measured air
// flow taken as the point's input, and a point the model cannot work out skipped with its reason.
#include "point_model.hpp"

#include <gtest/gtest.h>

namespace {

using runs::Measured;

runs::RunPoint pointOf(std::initializer_list<std::pair<Measured, float>> values) {
    runs::RunPoint p;
    p.line = 2;
    for (const auto& [m, v] : values)
        p.values[std::size_t(m)] = v;
    return p;
}

TEST(PointModel, PressureFromTheSpeedOnTheMap) {
    // Flat speed lines at pressure ratios 1.5 (60,000 rpm) and 2.5 (80,000 rpm). 0.5 lb/s on the
    // standard day is 30 lb/min corrected; 70,000 rpm is half way, ratio 2.0: 14.7 psig at 14.7
    // psi ambient.
    compmap::CompressorMap map;
    map.lines = {{compmap::LineKind::Speed, 60000, {{10, 1.5f}, {50, 1.5f}}},
                 {compmap::LineKind::Speed, 80000, {{10, 2.5f}, {50, 2.5f}}}};
    const runs::ModelSetup setup{&map, false};
    struct Case {
        float rpm;
        std::optional<float> p2;
        const char* says;
    };
    const Case cases[] = {
        {70000, 14.7f, ""},
        {60000, 7.35f, ""},
        {90000, std::nullopt,
         "its speed, 90000 rpm, is outside the map's speed lines at its "
         "corrected flow of 30 lb/min"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rpm);
        const auto at =
            runs::atPoint(turbo::EngineInputs{},
                          pointOf({{Measured::Rpm, c.rpm}, {Measured::MassFlow, 0.5f}}), setup);
        ASSERT_EQ(at.inputs.has_value(), c.p2.has_value()) << at.reason;
        if (c.p2)
            EXPECT_NEAR((*at.inputs)[turbo::EngineInput::P2], *c.p2, 1e-4f);
        else
            EXPECT_EQ(at.reason, c.says);
    }
    const auto noMap = runs::atPoint(turbo::EngineInputs{}, pointOf({{Measured::Rpm, 70000}}));
    EXPECT_EQ(noMap.reason, "no P2, and no compressor map to read it from the speed");
}

TEST(PointModel, AMeasuredAirFlowIsThePointsInputUnlessPredicted) {
    // Thrust is the mass flow times the jet velocity, which the flow does not change: twice the
    // candidate's flow, twice its thrust.
    const turbo::EngineInputs candidate; // 1.41 lb/s typed
    const float thrust = runs::modelAt(candidate)[turbo::EngineResult::Thrust];
    runs::RunLog log;
    log.points = {
        pointOf({{Measured::P2, 32}, {Measured::MassFlow, 2.82f}, {Measured::Thrust, 1}})};
    const auto used = runs::compare(candidate, log);
    ASSERT_EQ(used.comparisons.size(), 1u); // the flow is an input, not compared
    EXPECT_NEAR(used.comparisons[0].predicted / thrust, 2.0f, 1e-6f);
    const auto predicted = runs::compare(candidate, log, {nullptr, true});
    ASSERT_EQ(predicted.comparisons.size(), 2u);
    EXPECT_EQ(predicted.comparisons[0].predicted, thrust);
    EXPECT_EQ(predicted.comparisons[1].measured, Measured::MassFlow);
    EXPECT_EQ(predicted.comparisons[1].predicted, 1.41f);
}

TEST(PointModel, WhatCannotBeWorkedOutIsSkippedWithItsReason) {
    // At 0 psig there is no compression, so the combustor's loss leaves the nozzle below ambient:
    // (1 - 0.1) over the turbine's ratio.
    runs::RunLog log;
    log.points = {pointOf({{Measured::P2, 0}, {Measured::Thrust, 10}}),
                  pointOf({{Measured::Thrust, 10}}),
                  pointOf({{Measured::P2, 20}, {Measured::Thrust, 0}}),
                  pointOf({{Measured::P2, 20}, {Measured::Rpm, 9}}), // nothing to compare
                  pointOf({{Measured::P2, 20}, {Measured::Thrust, 10}})};
    const auto held = runs::compare(turbo::EngineInputs{}, log);
    ASSERT_EQ(held.comparisons.size(), 1u);
    EXPECT_EQ(held.comparisons[0].point, 4u);
    ASSERT_EQ(held.skipped.size(), 3u);
    EXPECT_EQ(held.skipped[0].reason.rfind("no thrust: the nozzle pressure ratio is 0.", 0), 0u)
        << held.skipped[0].reason;
    EXPECT_EQ(held.skipped[1].reason, "no P2 (or speed, with a compressor map)");
    EXPECT_EQ(held.skipped[2].reason,
              "the measured thrust is 0, and a relative error needs a measurement other than 0");
}

} // namespace
