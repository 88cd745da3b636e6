#include "candidates.hpp"

#include "number_text.hpp"

namespace explorer {

namespace {

fields::Quantity quantityOf(EngineInput input) {
    return turbo::engineField(input).quantity;
}

} // namespace

Candidate::Candidate(std::string candidateName) : name(std::move(candidateName)) {
    const turbo::EngineInputs defaults;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputs[i] = Cell::number(defaults.values[i]);
}

std::vector<Candidate> startingCandidates() {
    std::vector<Candidate> list;
    list.emplace_back("Turbo Analysis defaults");
    // A smaller turbocharger beside it, its mass flow taken from its wheel.
    Candidate small("Smaller wheel");
    small[EngineInput::CompOutletDiameter] = Cell::number(3.5f);
    small[EngineInput::InducerDiameter] = Cell::number(2.4f);
    small[EngineInput::HubDiameter] = Cell::number(0.95f);
    small.massFlowSource = MassFlowSource::Estimate;
    list.push_back(std::move(small));
    return list;
}

Cell readCell(EngineInput input, fields::UnitSystem units, std::string_view text) {
    if (const auto value = fields::parseFloat(text))
        return Cell::number(fields::fromDisplay(quantityOf(input), units, *value));
    return Cell{0, std::string(text), true};
}

std::string cellText(EngineInput input, fields::UnitSystem units, const Cell& cell) {
    if (cell.bad)
        return cell.text;
    return fields::formatFloat(fields::toDisplay(quantityOf(input), units, cell.value));
}

std::string inputName(EngineInput input) {
    return std::string(fields::plainLabel(turbo::engineField(input)));
}

std::optional<std::string> problem(const Candidate& candidate) {
    for (std::size_t i = 0; i < candidate.inputs.size(); ++i) {
        const auto& cell = candidate.inputs[i];
        if (cell.bad)
            return "Candidate " + quoted(candidate.name) + ", " +
                   inputName(static_cast<EngineInput>(i)) + ": " + notANumber(cell.text);
    }
    return std::nullopt;
}

std::optional<turbo::EngineInputs> engineInputs(const Candidate& candidate) {
    turbo::EngineInputs in;
    in.massFlowSource = candidate.massFlowSource;
    in.fuel = candidate.fuel;
    for (std::size_t i = 0; i < candidate.inputs.size(); ++i) {
        if (candidate.inputs[i].bad)
            return std::nullopt;
        in.values[i] = candidate.inputs[i].value;
    }
    return in;
}

std::optional<turbo::EngineResults> evaluate(const Candidate& candidate) {
    const auto in = engineInputs(candidate);
    if (!in)
        return std::nullopt;
    return turbo::evaluateEngine(*in);
}

} // namespace explorer
