// One operating point: the inputs it works out itself (ambient from the altitude, a fuel's own
// properties) and the limits the map adds, with figures worked out by hand.

#include "evaluate_point.hpp"
#include "map_file.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

using point::EngineInput;
using turbo::input;

std::uint32_t bits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

// Each ambient value on its own: typed, else the altitude's standard atmosphere, else the
// window's. At 1500 m: 288.15 - 0.0065 x 1500 = 278.4 K = 5.25 deg. C, and
// 101325 (278.4 / 288.15)^5.25588 Pa = 84556 Pa = 12.2638 psi.
TEST(Point, AmbientFromTheAltitudeUnlessTyped) {
    const float kNotGiven = turbo::notGiven();
    const struct {
        float altitude, temp, pressure;
        float wantTemp, wantPressure, tolerance;
    } cases[] = {
        {NAN, kNotGiven, kNotGiven, 15.0f, 14.7f, 0},
        {1500, kNotGiven, kNotGiven, 5.25f, 12.26381f, 2e-5f},
        {1500, 30, kNotGiven, 30, 12.26381f, 2e-5f},
        {1500, kNotGiven, 13, 5.25f, 13, 2e-5f},
        {NAN, 30, kNotGiven, 30, 14.7f, 0},
    };
    for (const auto& c : cases) {
        auto in = point::defaultInputs();
        in[input("altitude")] = c.altitude;
        in[EngineInput::AmbientTemp] = c.temp;
        in[EngineInput::AmbientPressure] = c.pressure;
        const auto p = point::evaluatePoint({.engine = in});
        EXPECT_NEAR(p.used[EngineInput::AmbientTemp], c.wantTemp, c.tolerance) << c.altitude;
        EXPECT_NEAR(p.used[EngineInput::AmbientPressure], c.wantPressure, c.tolerance)
            << c.altitude;
    }
    // Above the tropopause there is no standard ambient, and the point says so.
    auto high = point::defaultInputs();
    high[input("altitude")] = 12000;
    const auto p = point::evaluatePoint({.engine = high});
    EXPECT_EQ(point::reasonFor(p, point::EngineResult::Thrust).why,
              point::Why::AltitudeOutsideAtmosphere);
}

// The fuel shown is the fuel used: a named fuel's own properties, and "custom" with a property
// typed over it.
TEST(Point, FuelShownIsFuelUsed) {
    const float kNotGiven = turbo::notGiven();
    const struct {
        turbo::Fuel fuel;
        float lhv, density;
        turbo::Fuel usedFuel;
        float usedLhv, usedDensity;
    } cases[] = {
        {turbo::Fuel::Diesel, kNotGiven, kNotGiven, turbo::Fuel::Diesel, 42.8f, 0.84f},
        {turbo::Fuel::Diesel, 42.8f, kNotGiven, turbo::Fuel::Diesel, 42.8f, 0.84f},
        {turbo::Fuel::Diesel, 40, kNotGiven, turbo::Fuel::Custom, 40, 0.84f},
        {turbo::Fuel::Propane, kNotGiven, 0.6f, turbo::Fuel::Custom, 46.3f, 0.6f},
        {turbo::Fuel::Custom, kNotGiven, kNotGiven, turbo::Fuel::Custom, 43.2f, 0.80f},
    };
    for (const auto& c : cases) {
        auto in = point::defaultInputs();
        in.fuel = c.fuel;
        in[input("fuel-lhv")] = c.lhv;
        in[input("fuel-density")] = c.density;
        const auto p = point::evaluatePoint({.engine = in});
        EXPECT_EQ(p.used.fuel, c.usedFuel);
        EXPECT_EQ(bits(p.used[input("fuel-lhv")]), bits(c.usedLhv));
        EXPECT_EQ(bits(p.used[input("fuel-density")]), bits(c.usedDensity));
    }
}

// On a map the wheel runs at the map's speed: its tip speed there is the assumed 1450 ft/s scaled
// by map speed over the wheel's maximum speed. A point left of the surge line goes past the surge
// margin's limit of 0 % by its margin.
TEST(Point, TheMapsSpeedAndSurgeAreLimits) {
    const auto map = *compmap::loadMap(VX_DEMO_MAP).map;
    const struct {
        float outletDiameter, p2, massFlow;
        bool overSpeed, surge;
    } cases[] = {
        {4.5f, 30, 1.41f, true, false}, // 73,848 rpm at most, the map says more
        {3.2f, 30, 1.41f, false, false},
        {4.5f, 30, 0.5f, false, true},
    };
    for (const auto& c : cases) {
        auto in = point::defaultInputs();
        in[EngineInput::CompOutletDiameter] = c.outletDiameter;
        in[EngineInput::P2] = c.p2;
        in[EngineInput::MassFlow] = c.massFlow;
        const auto p = point::evaluatePoint({.engine = in, .map = &map});
        ASSERT_TRUE(p.onMap);
        const float maxRpm = p[point::EngineResult::MaxRpm];
        EXPECT_EQ(p.limits.exceeds(turbo::Limit::TipSpeed), c.overSpeed) << c.outletDiameter;
        if (c.overSpeed) {
            EXPECT_NEAR(p.limits[turbo::Limit::TipSpeed], 1450 * (*p.onMap->speed / maxRpm - 1),
                        0.01);
        }
        EXPECT_EQ(p.limits.exceeds(turbo::Limit::SurgeMargin), c.surge);
        if (c.surge) {
            EXPECT_FLOAT_EQ(p.limits[turbo::Limit::SurgeMargin], -*p.onMap->surgeMargin);
        }
    }
}

} // namespace
