// The turbine inlet temperature as an input of the cycle, and one candidate engine worked out at
// once exactly as the window's buttons would.
#include "engine.hpp"
#include "engine_cycle.hpp"
#include "wheel_and_converter.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

using turbo::EngineInput;
using turbo::EngineResult;
using turbo::TurboFields;

std::uint32_t bits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

// Other inlet temperatures with the window's other defaults. The figures were worked out apart
// from this code, step by step from the published cycle with each stored value rounded to float:
// the outlet temperature is T minus the drop, T4 is (T + 273) minus the drop, and the turbine's
// share uses T + 273 K. The compressor does not see T at all.
TEST(CycleInletTemperature, EntersTheTurbineFormulas) {
    const struct {
        float inlet, outlet, t4, turbinePr, nozzlePr;
    } cases[] = {
        {600.0f, 458.41794f, 731.41797f, 2.559721f, 1.2020336f},
        {700.5f, 558.91797f, 831.91797f, 2.298095f, 1.3388789f},
        {900.0f, 758.41797f, 1031.418f, 1.9697155f, 1.562089f},
        {1000.25f, 858.66797f, 1131.668f, 1.859265f, 1.6548856f},
    };
    TurboFields fixed;
    turbo::calcFullAnalysis(fixed);
    for (const auto& c : cases) {
        TurboFields f;
        const auto in = turbo::calcFullAnalysis(f, c.inlet);
        SCOPED_TRACE(c.inlet);
        EXPECT_EQ(f.m_CompTempRise, fixed.m_CompTempRise);
        EXPECT_EQ(f.m_TurbineTempDrop, fixed.m_TurbineTempDrop);
        EXPECT_EQ(f.m_TurbineOutletTemp, c.outlet);
        EXPECT_EQ(in.turbineOutletKelvin, c.t4);
        EXPECT_EQ(f.m_TurbinePrRequired, c.turbinePr);
        EXPECT_EQ(f.m_NozzlePr, c.nozzlePr);
    }
    // At 788 deg. C the explicit temperature is the window's own call.
    TurboFields same;
    turbo::calcFullAnalysis(same, 788.0f);
    for (float TurboFields::*m :
         {&TurboFields::m_NozzleVelocity, &TurboFields::m_Thrust, &TurboFields::m_NozzleDiameter})
        EXPECT_EQ(bits(same.*m), bits(fixed.*m));

    // A hotter turbine needs a smaller pressure ratio and leaves more for the jet.
    TurboFields cool, hot;
    turbo::calcFullAnalysis(cool, 700.0f);
    turbo::calcFullAnalysis(hot, 900.0f);
    EXPECT_GT(cool.m_TurbinePrRequired, hot.m_TurbinePrRequired);
    EXPECT_LT(cool.m_Thrust, hot.m_Thrust);
}

struct Case {
    const char* what;
    void (*change)(TurboFields&);
};

// The window: type the inputs, press "Calculate" in "Max Turbo RPM", in "Mass Flow Rate" when the
// estimate is wanted, then in "Full Analysis".
TEST(Engine, GivesTheWindowsFiguresBitForBit) {
    const Case cases[] = {
        {"defaults", [](TurboFields&) {}},
        {"P2 15", [](TurboFields& f) { f.m_P2 = 15; }},
        {"P2 0 (NaN jet)", [](TurboFields& f) { f.m_P2 = 0; }},
        {"turbine 10 % (NaN turbine)", [](TurboFields& f) { f.m_TurbineEfficiency = 10; }},
        {"small wheel",
         [](TurboFields& f) {
             f.m_CompOutletDiameter = 3.5f;
             f.m_InducerDiameter = 2.4f;
             f.m_HubDiameter = 0.95f;
             f.m_AmbientTemp = -12.5f;
             f.m_AmbientPressure = 12.1f;
         }},
    };
    for (const auto& c : cases)
        for (bool estimate : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (estimate ? ", estimate" : ", typed"));
            TurboFields window;
            c.change(window);
            turbo::EngineInputs in;
            in.massFlowSource =
                estimate ? turbo::MassFlowSource::Estimate : turbo::MassFlowSource::Typed;
            in[EngineInput::CompOutletDiameter] = window.m_CompOutletDiameter;
            in[EngineInput::InducerDiameter] = window.m_InducerDiameter;
            in[EngineInput::HubDiameter] = window.m_HubDiameter;
            in[EngineInput::MassFlow] = window.m_MassFlow;
            in[EngineInput::P2] = window.m_P2;
            in[EngineInput::CompEfficiency] = window.m_CompEfficiency;
            in[EngineInput::TurbineEfficiency] = window.m_TurbineEfficiency;
            in[EngineInput::NozzleEfficiency] = window.m_NozzleEfficiency;
            in[EngineInput::AmbientTemp] = window.m_AmbientTemp;
            in[EngineInput::AmbientPressure] = window.m_AmbientPressure;

            turbo::calcMaxRpm(window);
            if (estimate)
                turbo::calcMassFlow(window);
            else {
                const float typed = window.m_MassFlow;
                turbo::calcMassFlow(window);
                window.m_MassFlow = typed;
            }
            turbo::calcFullAnalysis(window);
            const auto r = turbo::evaluateEngine(in);

            using R = EngineResult;
            const std::pair<R, float> expected[] = {
                {R::MaxRpm, window.m_MaxRpm},
                {R::MassFlowEstimate, window.m_MassFlowEstimate},
                {R::CompTempRise, window.m_CompTempRise},
                {R::CompDischargeTemp, window.m_CompDischargeTemp},
                {R::TurbineTempDrop, window.m_TurbineTempDrop},
                {R::TurbineOutletTemp, window.m_TurbineOutletTemp},
                {R::TurbinePrRequired, window.m_TurbinePrRequired},
                {R::NozzlePr, window.m_NozzlePr},
                {R::NozzleExitTemp, window.m_NozzleExitTemp},
                {R::NozzleVelocity, window.m_NozzleVelocity},
                {turbo::result("nozzle-outlet-density"), window.m_NozzleOutletDensity},
                {turbo::result("nozzle-area"), window.m_NozzleArea},
                {R::NozzleDiameter, window.m_NozzleDiameter},
                {R::Thrust, window.m_Thrust}};
            for (const auto& [result, figure] : expected)
                EXPECT_EQ(bits(r[result]), bits(figure)) << turbo::engineField(result).key;
            EXPECT_EQ(bits(r.massFlow), bits(window.m_MassFlow));
        }
}

} // namespace

// A measured outlet temperature wins over the typed inlet temperature: the inlet solved from it
// puts the outlet back (within one float step of the inlet, as a typed outlet need not be one the
// cycle can give). The drop is 141.582 deg. C at the window's compressor (788 in, 646.418 out),
// whatever the inlet, so there the inlet is the outlet plus that.
TEST(Engine, MeasuredOutletTemperatureSolvesTheInlet) {
    const struct {
        const char* what;
        float p2;
        float typedInlet;
        float measured;
        float inlet; // NaN: not worked out by hand, only the outlet checked
    } cases[] = {
        {"the defaults' own outlet", 32, 788, 646.418f, 788.0f},
        {"cool exhaust, typed inlet ignored", 32, 1200, 500, 641.582f},
        {"hot exhaust", 32, 788, 720, 861.582f},
        {"outlet of zero", 32, 788, 0, 141.582f},
        {"low boost", 10, 788, 580, NAN},
        {"high boost, odd inlet typed", 60, -5, 690.25f, NAN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        turbo::EngineInputs in;
        in[EngineInput::P2] = c.p2;
        in[EngineInput::TurbineInletTemp] = c.typedInlet;
        in[EngineInput::MeasuredTurbineOutletTemp] = c.measured;
        const auto r = turbo::evaluateEngine(in);
        ASSERT_TRUE(r.inletSolved);
        const float inlet = r.turbineInletTemp;
        const float step = std::nextafter(std::abs(inlet), INFINITY) - std::abs(inlet);
        EXPECT_LE(std::abs(double(r[EngineResult::TurbineOutletTemp]) - double(c.measured)), step);
        if (!std::isnan(c.inlet)) {
            EXPECT_NEAR(inlet, c.inlet, 2e-3f);
        }
        // The rest of the cycle runs at the solved inlet: as if it had been typed.
        in[EngineInput::TurbineInletTemp] = inlet;
        in[EngineInput::MeasuredTurbineOutletTemp] = NAN;
        const auto typed = turbo::evaluateEngine(in);
        EXPECT_FALSE(typed.inletSolved);
        EXPECT_EQ(bits(typed[EngineResult::Thrust]), bits(r[EngineResult::Thrust]));
    }
}
