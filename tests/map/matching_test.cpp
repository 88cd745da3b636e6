// Where a point sits on a map, against values worked out by hand on small made-up maps whose
// numbers are exact in binary, so that every expected figure is exact too.
#include "matching.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

using namespace compmap;

namespace {

std::vector<MapPoint> points(std::initializer_list<MapPoint> list) {
    return list;
}

// The figures at a corrected flow in lb/min, through an air flow on the standard day.
MatchFigures at(const CompressorMap& map, float flow, float ratio) {
    const auto f = match(map, {flow / 60, ratio, 15, 14.7f});
    EXPECT_EQ(f.correctedFlow, flow);
    return f;
}

TEST(Matching, CorrectedFlowInTheMapsUnitAndReference) {
    struct Case {
        const char* what;
        FlowUnit unit;
        float refK, refPsi;
        float massFlow, ambientC, ambientPsi;
        float expected;
    } cases[] = {
        {"standard day is the air flow itself", FlowUnit::LbPerMin, 288, 14.7f, 0.5f, 15, 14.7f,
         30},
        {"kilograms by the pound's definition", FlowUnit::KgPerS, 288, 14.7f, 1, 15, 14.7f,
         0.45359237f},
        {"half the pressure doubles it", FlowUnit::LbPerMin, 288, 14.7f, 0.5f, 15, 7.35f, 60},
        {"648 K over 288 K: root 1.5", FlowUnit::LbPerMin, 288, 14.7f, 1, 375, 14.7f, 90},
        {"a 1-bar reference", FlowUnit::LbPerMin, 298, 14.5f, 1, 25, 29, 30},
    };
    for (const auto& c : cases) {
        CompressorMap map;
        map.flowUnit = c.unit;
        map.referenceTemperature = c.refK;
        map.referencePressure = c.refPsi;
        EXPECT_EQ(correctedFlow(map, {c.massFlow, 2, c.ambientC, c.ambientPsi}), c.expected)
            << c.what;
    }
}

TEST(Matching, SurgeLineInterpolatedInPressureRatio) {
    const auto surge = points({{10, 1.5f}, {20, 2.5f}, {24, 3.5f}});
    struct Case {
        double ratio;
        std::optional<double> flow;
    } cases[] = {
        {2.0, 15}, {3.0, 22}, {1.5, 10}, {3.5, 24}, {2.5, 20}, {1.4, {}}, {3.6, {}},
    };
    const auto reversed = points({{24, 3.5f}, {20, 2.5f}, {10, 1.5f}}); // traced top down
    for (const auto& c : cases) {
        EXPECT_EQ(flowAtPressureRatio(surge, c.ratio), c.flow) << c.ratio;
        EXPECT_EQ(flowAtPressureRatio(reversed, c.ratio), c.flow) << c.ratio;
    }

    // The margin at a corrected flow of 22.5 lb/min (0.375 lb/s on the standard day).
    CompressorMap map;
    map.lines.push_back({LineKind::Surge, 0, surge});
    const auto margin = [&](float ratio) { return at(map, 22.5f, ratio).surgeMargin; };
    EXPECT_FLOAT_EQ(*margin(2.0f), 7.5f / 22.5f * 100);  // 33.33 %: 7.5 lb/min to spare
    EXPECT_FLOAT_EQ(*margin(3.0f), 0.5f / 22.5f * 100);  // 2.22 %
    EXPECT_FLOAT_EQ(*margin(3.5f), -1.5f / 22.5f * 100); // surging
    EXPECT_EQ(margin(3.75f), std::nullopt);
}

TEST(Matching, ACycleWithoutFiguresHasNoneOnTheMap) {
    CompressorMap map;
    map.lines.push_back({LineKind::Surge, 0, points({{10, 1}, {20, 4}})});
    map.lines.push_back({LineKind::Speed, 100000, points({{10, 1}, {40, 2}})});
    map.lines.push_back({LineKind::Speed, 200000, points({{10, 3}, {40, 4}})});
    map.lines.push_back({LineKind::Island, 70, points({{0, 0}, {50, 0}, {50, 5}})});
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& point :
         {OperatingPoint{nan, 2, 15, 14.7f}, OperatingPoint{0.5f, nan, 15, 14.7f},
          OperatingPoint{0.5f, 2, 15, 0}}) {
        const auto f = match(map, point);
        EXPECT_FALSE(f.surgeMargin || f.efficiency || f.speed || f.overSpeed);
    }
}

TEST(Matching, PointInContour) {
    const auto square = points({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const auto triangle = points({{0, 0}, {10, 0}, {5, 10}});
    // A "C" open to the right: its notch is outside.
    const auto notched =
        points({{0, 0}, {10, 0}, {10, 3}, {3, 3}, {3, 7}, {10, 7}, {10, 10}, {0, 10}});
    struct Case {
        const std::vector<MapPoint>* contour;
        double flow, ratio;
        bool inside;
    } cases[] = {
        {&square, 5, 5, true},    {&square, 15, 5, false},  {&square, -1, 5, false},
        {&square, 10, 5, true},   {&square, 0, 0, true},    {&square, 5, 10.001, false},
        {&triangle, 5, 9, true},  {&triangle, 2, 8, false}, {&triangle, 4, 8, true},
        {&triangle, 9, 9, false}, {&notched, 5, 5, false},  {&notched, 1, 5, true},
        {&notched, 5, 1, true},   {&notched, 5, 8.5, true}, {&notched, 11, 5, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(contourContains(*c.contour, c.flow, c.ratio), c.inside)
            << c.flow << ", " << c.ratio;
}

TEST(Matching, HighestIslandHoldingThePoint) {
    CompressorMap map;
    map.lines.push_back({LineKind::Island, 60, points({{0, 1}, {40, 1}, {40, 4}, {0, 4}})});
    map.lines.push_back({LineKind::Island, 70, points({{10, 2}, {30, 2}, {30, 3}, {10, 3}})});
    map.lines.push_back(
        {LineKind::Island, 65, points({{15, 2.25f}, {25, 2.25f}, {25, 2.75f}, {15, 2.75f}})});
    struct Case {
        float correctedFlow, ratio;
        std::optional<float> efficiency;
    } cases[] = {{20, 2.5f, 70}, {12, 2.5f, 70}, {5, 1.5f, 60}, {50, 2, {}}, {20, 0.5f, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(at(map, c.correctedFlow, c.ratio).efficiency, c.efficiency)
            << c.correctedFlow << ", " << c.ratio;
}

TEST(Matching, SpeedBetweenTheNeighbouringLines) {
    CompressorMap map; // traced out of order: the speeds decide the neighbours
    map.lines.push_back({LineKind::Speed, 140000, points({{16, 3}, {32, 3.5f}})});
    map.lines.push_back({LineKind::Speed, 100000, points({{8, 1.5f}, {24, 1.75f}})});
    map.lines.push_back({LineKind::Speed, 120000, points({{8, 2}, {24, 2.5f}})});
    // At a flow of 16 the lines stand at 1.625, 2.25 and 3.
    struct Case {
        float flow, ratio;
        std::optional<float> speed;
        bool overSpeed;
    } cases[] = {
        {16, 1.9375f, 110000, false},
        {16, 2.625f, 130000, false},
        {16, 2.25f, 120000, false},
        {16, 1.625f, 100000, false},
        {16, 3.25f, {}, true},
        {16, 1.5f, {}, false},
        {4, 2, {}, false},
        {28, 2, {}, false},
        {40, 2, {}, true},
    };
    for (const auto& c : cases) {
        const auto f = at(map, c.flow, c.ratio);
        SCOPED_TRACE(testing::Message() << c.flow << ", " << c.ratio);
        EXPECT_EQ(f.speed, c.speed);
        EXPECT_EQ(f.overSpeed, c.overSpeed);
    }
}

} // namespace
