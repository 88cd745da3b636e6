#include "engine.hpp"

#include "engine_cycle.hpp"
#include "turbo_fields.hpp"
#include "wheel_and_converter.hpp"

namespace turbo {

namespace {

constexpr std::size_t index(EngineInput i) {
    return static_cast<std::size_t>(i);
}

// Inputs before the mass flow sit before the mass-flow source in the field table.
constexpr std::size_t fieldIndexOf(EngineInput i) {
    return index(i) < kMassFlowSourceField ? index(i) : index(i) + 1;
}
constexpr std::size_t fieldIndexOf(EngineResult r) {
    return kEngineInputCount + 1 + static_cast<std::size_t>(r);
}

using fields::kEngineFields;
static_assert(kEngineFields.size() == kEngineInputCount + 1 + kEngineResultCount);
static_assert(kEngineFields[kMassFlowSourceField].key == "mass-flow-source");
static_assert(kEngineFields[fieldIndexOf(EngineInput::HubDiameter)].key == "hub-diameter");
static_assert(kEngineFields[fieldIndexOf(EngineInput::MassFlow)].key == "mass-flow");
static_assert(kEngineFields[fieldIndexOf(EngineInput::TurbineInletTemp)].key ==
              "turbine-inlet-temp");
static_assert(kEngineFields[fieldIndexOf(EngineResult::MaxRpm)].key == "max-rpm");
static_assert(kEngineFields[fieldIndexOf(EngineResult::CompTempRise)].key == "comp-temp-rise");
static_assert(kEngineFields[fieldIndexOf(EngineResult::Thrust)].key == "thrust");

} // namespace

EngineInputs::EngineInputs() {
    const TurboFields d;
    auto& v = *this;
    v[EngineInput::CompOutletDiameter] = d.m_CompOutletDiameter;
    v[EngineInput::InducerDiameter] = d.m_InducerDiameter;
    v[EngineInput::HubDiameter] = d.m_HubDiameter;
    v[EngineInput::MassFlow] = d.m_MassFlow;
    v[EngineInput::P2] = d.m_P2;
    v[EngineInput::CompEfficiency] = d.m_CompEfficiency;
    v[EngineInput::TurbineEfficiency] = d.m_TurbineEfficiency;
    v[EngineInput::NozzleEfficiency] = d.m_NozzleEfficiency;
    v[EngineInput::AmbientTemp] = d.m_AmbientTemp;
    v[EngineInput::AmbientPressure] = d.m_AmbientPressure;
    v[EngineInput::TurbineInletTemp] = kDefaultTurbineInletTemp;
}

// The window's own calculations on its own fields, in the order a person would press the buttons.
EngineResults evaluateEngine(const EngineInputs& in) {
    TurboFields f;
    f.m_CompOutletDiameter = in[EngineInput::CompOutletDiameter];
    calcMaxRpm(f);
    f.m_InducerDiameter = in[EngineInput::InducerDiameter];
    f.m_HubDiameter = in[EngineInput::HubDiameter];
    calcMassFlow(f); // also puts the estimate into m_MassFlow
    if (in.massFlowSource == MassFlowSource::Typed)
        f.m_MassFlow = in[EngineInput::MassFlow];
    f.m_P2 = in[EngineInput::P2];
    f.m_CompEfficiency = in[EngineInput::CompEfficiency];
    f.m_TurbineEfficiency = in[EngineInput::TurbineEfficiency];
    f.m_NozzleEfficiency = in[EngineInput::NozzleEfficiency];
    f.m_AmbientTemp = in[EngineInput::AmbientTemp];
    f.m_AmbientPressure = in[EngineInput::AmbientPressure];
    calcFullAnalysis(f, in[EngineInput::TurbineInletTemp]);

    EngineResults r;
    r.massFlow = f.m_MassFlow;
    r.values = {f.m_MaxRpm,
                f.m_MassFlowEstimate,
                f.m_CompTempRise,
                f.m_CompDischargeTemp,
                f.m_TurbineTempDrop,
                f.m_TurbineOutletTemp,
                f.m_TurbinePrRequired,
                f.m_NozzlePr,
                f.m_NozzleExitTemp,
                f.m_NozzleVelocity,
                f.m_NozzleOutletDensity,
                f.m_NozzleArea,
                f.m_NozzleDiameter,
                f.m_Thrust};
    return r;
}

std::size_t engineFieldIndex(EngineInput input) {
    return fieldIndexOf(input);
}
std::size_t engineFieldIndex(EngineResult result) {
    return fieldIndexOf(result);
}
const fields::Field& engineField(EngineInput input) {
    return kEngineFields[fieldIndexOf(input)];
}
const fields::Field& engineField(EngineResult result) {
    return kEngineFields[fieldIndexOf(result)];
}

// The drop comes from the compressor alone, so any inlet temperature gives it.
float solveTurbineInletTemp(const EngineInputs& inputs, float turbineOutletTemp) {
    return turbineInletTempFor(evaluateEngine(inputs)[EngineResult::TurbineTempDrop],
                               turbineOutletTemp);
}

} // namespace turbo
