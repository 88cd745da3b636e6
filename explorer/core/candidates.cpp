#include "candidates.hpp"

#include "input_range.hpp"

#include "number_text.hpp"

namespace explorer {

namespace {

fields::Quantity quantityOf(EngineInput input) {
    return turbo::engineField(input).quantity;
}

} // namespace

Candidate::Candidate(std::string candidateName) : name(std::move(candidateName)) {
    const turbo::EngineInputs defaults = point::defaultInputs();
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

std::optional<std::string> rangeProblem(const turbo::EngineInputs& in, bool efficiencyFromMap) {
    const auto why = turbo::inputRangeProblem(in, efficiencyFromMap);
    if (!why)
        return std::nullopt;
    const auto field = fields::findField(fields::kEngineFields, why->key);
    return (field ? std::string(fields::plainLabel(fields::kEngineFields[*field]))
                  : std::string(why->key)) +
           " " + why->reason;
}

std::optional<std::string> rangeProblem(const Candidate& candidate) {
    const auto in = engineInputs(candidate);
    if (!in)
        return std::nullopt;
    const auto why = rangeProblem(*in, candidate.efficiencyFromMap);
    return why ? std::optional<std::string>("no figures: " + *why) : std::nullopt;
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

std::optional<point::Point> evaluate(const Candidate& candidate,
                                     const compmap::CompressorMap* map) {
    const auto in = engineInputs(candidate);
    if (!in)
        return std::nullopt;
    return point::evaluatePoint(
        {.engine = *in, .map = map, .efficiencyFromMap = map && candidate.efficiencyFromMap});
}

std::string cellText(const Candidate& candidate, EngineInput input, fields::UnitSystem units) {
    const Cell& cell = candidate[input];
    if (cell.bad || !turbo::isNotGiven(cell.value))
        return cellText(input, units, cell);
    const auto in = engineInputs(candidate);
    return in ? cellText(input, units, Cell::number(point::workedOutInputs(*in)[input])) : "";
}

} // namespace explorer
