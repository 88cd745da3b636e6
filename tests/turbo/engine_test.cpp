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

// Other inlet temperatures against the formulas written out: the outlet temperature is T minus
// the drop, T4 is (T + 273) minus the drop, and the turbine's share uses T + 273 K. The compressor
// does not see T at all.
TEST(CycleInletTemperature, EntersTheTurbineFormulas) {
    using D = double;
    const float temps[] = {600.0f, 700.5f, 900.0f, 1000.25f, 788.0f};
    for (float t : temps) {
        TurboFields fixed;
        turbo::calcFullAnalysis(fixed);
        TurboFields f;
        const auto in = turbo::calcFullAnalysis(f, t);
        SCOPED_TRACE(t);
        EXPECT_EQ(f.m_CompTempRise, fixed.m_CompTempRise);
        EXPECT_EQ(f.m_TurbineTempDrop, fixed.m_TurbineTempDrop);
        const D drop = f.m_TurbineTempDrop;
        EXPECT_EQ(f.m_TurbineOutletTemp, static_cast<float>(D(t) - drop));
        EXPECT_EQ(in.turbineOutletKelvin, static_cast<float>((D(t) + 273) - drop));
        EXPECT_EQ(f.m_TurbinePrRequired,
                  static_cast<float>(std::pow(-1 / (drop / (D(78.0f) / 100 * (D(t) + 273)) - 1),
                                              4.032258064516129)));
        EXPECT_EQ(f.m_NozzlePr, static_cast<float>((D(in.compressorPr) - 0.1) * D(14.7f) /
                                                   D(f.m_TurbinePrRequired) / D(14.7f)));
        if (t == 788.0f) { // the window's own call
            for (float TurboFields::*m : {&TurboFields::m_NozzleVelocity, &TurboFields::m_Thrust,
                                          &TurboFields::m_NozzleDiameter})
                EXPECT_EQ(bits(f.*m), bits(fixed.*m));
        }
    }
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
