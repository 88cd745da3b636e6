// Division by zero, square roots of negative numbers and powers of negative numbers give
// infinities and NaN that go on into the results. That the programs leave traps off is held
// where they start: the designer's start-up (tests/app) and vorlaxen-calc's own process
// (tests/cli).
#include "engine_cycle.hpp"
#include "flame_tube.hpp"
#include "wheel_and_converter.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(NoTrap, OddTurboInputsGiveInfinitiesAndNaN) {
    const struct {
        const char* what;
        float turbo::TurboFields::*input;
        float value;
    } cases[] = {
        {"ambient pressure 0", &turbo::TurboFields::m_AmbientPressure, 0.0f},
        {"compressor efficiency 0", &turbo::TurboFields::m_CompEfficiency, 0.0f},
        {"turbine efficiency 0", &turbo::TurboFields::m_TurbineEfficiency, 0.0f},
        {"nozzle efficiency 0", &turbo::TurboFields::m_NozzleEfficiency, 0.0f},
        {"negative ambient pressure", &turbo::TurboFields::m_AmbientPressure, -14.7f},
        {"infinite boost", &turbo::TurboFields::m_P2, kInf},
        {"NaN mass flow", &turbo::TurboFields::m_MassFlow, kNaN},
    };
    for (const auto& c : cases) {
        turbo::TurboFields f;
        f.*c.input = c.value;
        turbo::calcFullAnalysis(f);
        // Some result is no longer a finite number, and nothing trapped on the way.
        const float results[] = {f.m_CompTempRise,   f.m_TurbinePrRequired, f.m_NozzlePr,
                                 f.m_NozzleVelocity, f.m_NozzleArea,        f.m_NozzleDiameter,
                                 f.m_Thrust};
        bool anyNonFinite = false;
        for (const float r : results)
            anyNonFinite = anyNonFinite || !std::isfinite(r);
        EXPECT_TRUE(anyNonFinite) << c.what;
    }
}

TEST(NoTrap, ZeroDiametersGiveInfinityOrNaN) {
    turbo::TurboFields f;
    f.m_CompOutletDiameter = 0;
    turbo::calcMaxRpm(f);
    EXPECT_EQ(f.m_MaxRpm, kInf);
    f.m_CompOutletDiameter = -0.0f;
    turbo::calcMaxRpm(f);
    EXPECT_EQ(f.m_MaxRpm, -kInf);

    combustor::CombustorFields c;
    c.m_InducerDiameter = 3;
    combustor::calcFlameTube(c);
    EXPECT_EQ(c.m_PrimaryHoles, kInf);
    EXPECT_EQ(c.m_TertiaryHoles, kInf);
    c.m_InducerDiameter = 0;
    combustor::calcFlameTube(c);
    EXPECT_TRUE(std::isnan(c.m_PrimaryHoles));
    c.m_InducerDiameter = kNaN;
    c.m_UnitIndex = combustor::kMillimetres;
    combustor::calcFlameTube(c);
    EXPECT_TRUE(std::isnan(c.m_TubeDiameter));
}

} // namespace
