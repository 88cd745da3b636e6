#include "engine.hpp"

#include "flow_function.hpp"
#include "turbo_fields.hpp"
#include "wheel_and_converter.hpp"

#include <cmath>

namespace turbo {

namespace {

using fields::kEngineFields;

// Where each input and result sits in the field table, and which member of the window's fields
// holds it (null for one the window does not keep, such as the turbine inlet temperature).
template <std::size_t N> struct Places {
    std::array<std::size_t, N> field{};
    std::array<float TurboFields::*, N> member{};
};
template <std::size_t N> constexpr Places<N> places(bool (*test)(const fields::Field&)) {
    Places<N> p;
    for (std::size_t i = 0, n = 0; i < kEngineFields.size(); ++i)
        if (test(kEngineFields[i])) {
            p.field[n] = i;
            p.member[n++] = turboMember(kEngineFields[i].key);
        }
    return p;
}
constexpr auto kInputs = places<kEngineInputCount>(isEngineInput);
constexpr auto kResults = places<kEngineResultCount>(isEngineResult);

} // namespace

EngineInputs::EngineInputs() {
    for (std::size_t i = 0; i < kEngineInputCount; ++i)
        values[i] = kEngineFields[kInputs.field[i]].defaultValue;
}

// The window's own calculations on its own fields, in the order a person would press the buttons.
EngineResults evaluateEngine(const EngineInputs& in) {
    TurboFields f;
    for (std::size_t i = 0; i < kEngineInputCount; ++i)
        if (kInputs.member[i])
            f.*kInputs.member[i] = in.values[i];
    const float tipSpeed = in[input("tip-speed")];
    calcMaxRpm(f, tipSpeed);
    calcMassFlow(f); // also puts the estimate into m_MassFlow
    if (in.massFlowSource != MassFlowSource::Estimate)
        f.m_MassFlow = in[EngineInput::MassFlow];

    EngineResults r;
    float inletTemp = in[EngineInput::TurbineInletTemp];
    if (const float measured = in[EngineInput::MeasuredTurbineOutletTemp]; !std::isnan(measured)) {
        inletTemp = solveTurbineInletTemp(f, measured);
        r.inletSolved = true;
    }
    r.turbineInletTemp = inletTemp;
    const double loss = typedDecimal(in[input("pressure-loss")]);
    if (const float area = in[input("turbine-area")];
        in.massFlowSource == MassFlowSource::Turbine && !std::isnan(area)) {
        // The turbine's pressure ratio and inlet pressure do not depend on the mass flow.
        TurboFields g = f;
        const auto c = calcFullAnalysis(g, inletTemp, loss);
        f.m_MassFlow = static_cast<float>(
            turbineFlow(area, (double(c.compressorPr) - loss) * double(g.m_AmbientPressure),
                        g.m_TurbinePrRequired, double(inletTemp) + kZeroCelsiusInKelvin));
    }
    r.cycle = calcFullAnalysis(f, inletTemp, loss);
    r.massFlow = f.m_MassFlow;
    for (std::size_t i = 0; i < kEngineResultCount; ++i)
        if (kResults.member[i])
            r.values[i] = f.*kResults.member[i];

    r[result("mass-flow-used")] = r.massFlow;
    return r;
}

std::size_t engineFieldIndex(EngineInput input) {
    return kInputs.field[static_cast<std::size_t>(input)];
}
std::size_t engineFieldIndex(EngineResult result) {
    return kResults.field[static_cast<std::size_t>(result)];
}
const fields::Field& engineField(EngineInput input) {
    return kEngineFields[engineFieldIndex(input)];
}
const fields::Field& engineField(EngineResult result) {
    return kEngineFields[engineFieldIndex(result)];
}

// The drop comes from the compressor alone, so any inlet temperature gives it.
float solveTurbineInletTemp(const EngineInputs& inputs, float turbineOutletTemp) {
    return turbineInletTempFor(evaluateEngine(inputs)[EngineResult::TurbineTempDrop],
                               turbineOutletTemp);
}

} // namespace turbo
