#include "efficiency_from_map.hpp"

#include "text.hpp"

namespace compmap {

EngineOnMap evaluateWithMapEfficiency(const turbo::EngineInputs& inputs, const CompressorMap& map) {
    using turbo::EngineInput;
    // This first run only places the point: its mass flow and pressure ratio do not depend on
    // the typed efficiency.
    const turbo::EngineResults placed = turbo::evaluateEngine(inputs);
    EngineOnMap out;
    out.point = {placed.massFlow, placed.cycle.compressorPr, inputs[EngineInput::AmbientTemp],
                 inputs[EngineInput::AmbientPressure]};
    out.efficiency = inputs[EngineInput::CompEfficiency];
    const auto efficiency = match(map, out.point).efficiency;
    if (!efficiency)
        return out;
    turbo::EngineInputs withMap = inputs;
    withMap[EngineInput::CompEfficiency] = *efficiency;
    out.efficiency = *efficiency;
    out.results = turbo::evaluateEngine(withMap);
    return out;
}

std::optional<bool> efficiencyFromMapWord(std::string_view text) {
    text = text::trimmed(text);
    const auto is = [&](std::string_view word) { return text::sameIgnoringCase(text, word); };
    if (is(kEfficiencyFromMapYes))
        return true;
    if (text.empty() || is("no"))
        return false;
    return std::nullopt;
}

} // namespace compmap
