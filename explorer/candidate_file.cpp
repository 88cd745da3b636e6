#include "candidate_file.hpp"

#include "efficiency_from_map.hpp"
#include "field_file.hpp"
#include "number_text.hpp"
#include "user_file.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

namespace explorer {

namespace {

using fields::kEngineFields;

constexpr std::string_view kNameColumn = "name";
constexpr std::string_view kLookColumn = "look";
// The candidate's compressor map file, relative to the candidates file's folder.
constexpr std::string_view kMapColumn = "map";
// The candidate's run log, likewise relative.
constexpr std::string_view kRunLogColumn = "run-log";
// More would make neither a table nor a chart anyone can read; it also bounds the memory a
// stray file can take.
constexpr std::size_t kMaxCandidates = 10'000;
constexpr std::size_t kBufferSize = 16 << 10;

// What a column of the file holds.
struct Column {
    enum Kind { Name, Source, Fuel, Input, Look, Map, EfficiencyFromMap, RunLog } kind = Name;
    EngineInput input = EngineInput::CompOutletDiameter;
};

std::string columnList() {
    std::string list(kNameColumn);
    for (const auto& f : kEngineFields)
        if (fields::isInput(f))
            list.append(", ").append(f.key);
    return list.append(", ")
        .append(kLookColumn)
        .append(", ")
        .append(kMapColumn)
        .append(", ")
        .append(compmap::kEfficiencyFromMapColumn)
        .append(", ")
        .append(kRunLogColumn);
}

// The columns a candidate file may have, in the order of Column's kinds and the engine's inputs.
std::vector<std::string_view> knownColumns() {
    std::vector<std::string_view> keys{kNameColumn,
                                       kLookColumn,
                                       kMapColumn,
                                       compmap::kEfficiencyFromMapColumn,
                                       kEngineFields[turbo::kMassFlowSourceField].key,
                                       kEngineFields[turbo::kFuelField].key,
                                       kRunLogColumn};
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
        keys.push_back(turbo::engineField(static_cast<EngineInput>(i)).key);
    return keys;
}

Column columnFor(std::size_t known) {
    if (known == 0)
        return Column{Column::Name};
    if (known == 1)
        return Column{Column::Look};
    if (known == 2)
        return Column{Column::Map};
    if (known == 3)
        return Column{Column::EfficiencyFromMap};
    if (known == 4)
        return Column{Column::Source};
    if (known == 5)
        return Column{Column::Fuel};
    if (known == 6)
        return Column{Column::RunLog};
    return Column{Column::Input, static_cast<EngineInput>(known - 7)};
}

} // namespace

ReadResult readCandidates(std::istream& in, std::string_view fileName) {
    ReadResult result;
    auto fail = [&](std::size_t line, std::size_t column, std::string message) {
        result.candidates.clear();
        result.ignored.clear();
        result.error = FileError{std::string(fileName), line, column, std::move(message)};
        return std::move(result);
    };
    try {
        // Columns of other programs (vorlaxen-calc carries them through) are left out, and the
        // user told which.
        const auto known = knownColumns();
        csv::FieldFileReader file(in, known, csv::UnknownColumns::Carry, kBufferSize);
        result.ignored = file.carried();
        std::vector<std::optional<Column>> columns;
        for (const auto& c : file.columns())
            columns.push_back(c ? std::optional(columnFor(*c)) : std::nullopt);
        // A file that sizes the wheel but gives no mass flow means the wheel's estimate.
        auto gives = [&](EngineInput input) {
            for (const auto& c : columns)
                if (c && c->kind == Column::Input && c->input == input)
                    return true;
            return false;
        };
        const MassFlowSource unsaidSource =
            (gives(EngineInput::InducerDiameter) || gives(EngineInput::HubDiameter)) &&
                    !gives(EngineInput::MassFlow)
                ? MassFlowSource::Estimate
                : MassFlowSource::Typed;

        const auto& sourceWords = kEngineFields[turbo::kMassFlowSourceField].choices;
        while (file.next()) {
            const auto row = file.row();
            if (result.candidates.size() == kMaxCandidates)
                return fail(file.line(), 0,
                            "more than " + std::to_string(kMaxCandidates) + " candidates");
            Candidate candidate("Candidate " + std::to_string(result.candidates.size() + 1));
            candidate.massFlowSource = unsaidSource;
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (!columns[c])
                    continue;
                switch (columns[c]->kind) {
                case Column::Name:
                    candidate.name.assign(row[c]);
                    break;
                case Column::Source:
                    if (const auto word = csv::matchWord(row[c], sourceWords))
                        candidate.massFlowSource = static_cast<MassFlowSource>(*word);
                    else
                        file.fail(c, "mass-flow-source " + quoted(row[c]) +
                                         " is not \"typed\", \"estimate\" or \"turbine\"");
                    break;
                case Column::Map:
                    candidate.map.assign(csv::trimmed(row[c]));
                    break;
                case Column::RunLog:
                    candidate.runLogFile.assign(csv::trimmed(row[c]));
                    break;
                case Column::EfficiencyFromMap:
                    if (const auto wanted = compmap::efficiencyFromMapWord(row[c]))
                        candidate.efficiencyFromMap = *wanted;
                    else
                        file.fail(c, std::string(compmap::kEfficiencyFromMapColumn) + " " +
                                         quoted(row[c]) + " is neither \"yes\" nor \"no\"");
                    break;
                case Column::Look: {
                    const auto text = csv::trimmed(row[c]);
                    if (text.empty())
                        break; // chosen when shown
                    int look = 0;
                    const auto [end, ec] =
                        std::from_chars(text.data(), text.data() + text.size(), look);
                    if (ec != std::errc() || end != text.data() + text.size() || look < 1 ||
                        look > kLookCount)
                        file.fail(c, "look " + quoted(row[c]) +
                                         " is not a whole number from 1 to " +
                                         std::to_string(kLookCount));
                    candidate.look = look - 1;
                    break;
                }
                case Column::Fuel:
                    if (const auto word =
                            csv::matchWord(row[c], kEngineFields[turbo::kFuelField].choices))
                        candidate.fuel = static_cast<turbo::Fuel>(*word);
                    else
                        file.fail(c, "fuel " + quoted(row[c]) +
                                         " is none of kerosene, diesel, propane and custom");
                    break;
                case Column::Input:
                    if (const auto value = fields::parseFloat(row[c]))
                        candidate[columns[c]->input] = Cell::number(*value);
                    else
                        file.fail(c, std::string(turbo::engineField(columns[c]->input).key) + ": " +
                                         notANumber(row[c]));
                    break;
                }
            }
            result.candidates.push_back(std::move(candidate));
        }
    } catch (const csv::FieldFileError& e) {
        if (e.line() == 0 && in.bad())
            return fail(0, 0, std::string("reading failed: ") + std::strerror(errno));
        if (e.line() == 0)
            return fail(0, 0, std::string(e.what()) + " (" + columnList() + ")");
        return fail(e.line(), e.column(), e.what());
    }
    if (in.bad())
        return fail(0, 0, std::string("reading failed: ") + std::strerror(errno));
    return result;
}

ReadResult loadCandidates(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return {{}, FileError{file.string(), 0, 0, "is a folder, not a file"}, {}};
    std::filesystem::path target;
    if (!userfile::resolveLinks(file, target))
        userfile::removeLeftovers(target); // of a save that was killed midway
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {{},
                FileError{file.string(), 0, 0, std::string("cannot open: ") + std::strerror(errno)},
                {}};
    return readCandidates(in, file.string());
}

std::optional<std::string> writeCandidates(std::ostream& out,
                                           std::span<const Candidate> candidates) {
    for (const auto& c : candidates)
        if (auto p = problem(c))
            return p;
    out << kNameColumn;
    for (const auto& f : kEngineFields)
        if (fields::isInput(f))
            out << ',' << f.key;
    out << ',' << kLookColumn;
    // The map column only when a candidate has a map: other files stay as they were.
    const bool maps = std::any_of(candidates.begin(), candidates.end(),
                                  [](const Candidate& c) { return !c.map.empty(); });
    if (maps)
        out << ',' << kMapColumn;
    // Likewise its efficiency.
    const bool mapEfficiency = std::any_of(candidates.begin(), candidates.end(),
                                           [](const Candidate& c) { return c.efficiencyFromMap; });
    if (mapEfficiency)
        out << ',' << compmap::kEfficiencyFromMapColumn;
    const bool runLogs = std::any_of(candidates.begin(), candidates.end(),
                                     [](const Candidate& c) { return !c.runLogFile.empty(); });
    if (runLogs)
        out << ',' << kRunLogColumn;
    out << '\n';
    const auto& sourceWords = kEngineFields[turbo::kMassFlowSourceField].choices;
    for (const auto& c : candidates) {
        const auto results = evaluate(c);
        csv::writeField(out, c.name);
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
            const auto input = static_cast<EngineInput>(i);
            if (input == EngineInput::MassFlow)
                out << ',' << sourceWords[static_cast<std::size_t>(c.massFlowSource)];
            if (turbo::engineFieldIndex(input) == turbo::kFuelField + 1)
                out << ',' << turbo::fuelProperties(c.fuel).key;
            // The mass flow the cycle uses, so that the file runs through vorlaxen-calc cycle.
            const float value = input == EngineInput::MassFlow ? results->massFlow : c[input].value;
            out << ',' << fields::shortestFloat(value);
        }
        out << ',';
        if (c.look >= 0)
            out << c.look + 1;
        if (maps) {
            out << ',';
            csv::writeField(out, c.map);
        }
        if (mapEfficiency)
            out << ',' << (c.efficiencyFromMap ? compmap::kEfficiencyFromMapYes : "no");
        if (runLogs) {
            out << ',';
            csv::writeField(out, c.runLogFile);
        }
        out << '\n';
    }
    return std::nullopt;
}

namespace {

// Where a cycle column's value comes from in the engine's inputs and results.
struct CycleSource {
    enum Kind { Input, UsedMassFlow, Result, Fuel, Limits } kind;
    std::size_t index;
};

std::vector<CycleSource> cycleSources() {
    std::vector<CycleSource> sources;
    for (const auto& f : fields::kCycleFields) {
        const auto at = fields::findField(kEngineFields, f.key);
        CycleSource s{CycleSource::Input, 0};
        if (f.kind == fields::Kind::Choice) { // the fuel chosen and the limits gone past
            sources.push_back(
                {f.role == fields::Role::Out ? CycleSource::Limits : CycleSource::Fuel, *at});
            continue;
        }
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
            if (turbo::engineFieldIndex(static_cast<EngineInput>(i)) == *at)
                s = {static_cast<EngineInput>(i) == EngineInput::MassFlow
                         ? CycleSource::UsedMassFlow
                         : CycleSource::Input,
                     i};
        for (std::size_t r = 0; r < turbo::kEngineResultCount; ++r)
            if (turbo::engineFieldIndex(static_cast<EngineResult>(r)) == *at)
                s = {CycleSource::Result, r};
        sources.push_back(s);
    }
    return sources;
}

} // namespace

std::optional<std::string>
writeCurveCsv(std::ostream& out, std::span<const Candidate> candidates, const CurveRequest& request,
              std::span<const compmap::CompressorMap* const> efficiencyMaps) {
    fields::Sweep sweep;
    if (fields::planSweep(request.from, request.to, request.step, sweep) !=
        fields::SweepProblem::None)
        return "the sweep gives no points";
    const auto& swept = turbo::engineField(request.swept);
    const bool sweptIsWheel = !fields::findField(fields::kCycleFields, swept.key);
    const auto sources = cycleSources();

    out << kNameColumn;
    if (sweptIsWheel)
        out << ',' << swept.key;
    for (const auto& f : fields::kCycleFields)
        out << ',' << f.key;
    out << '\n';
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        const Candidate& c = candidates[k];
        const compmap::CompressorMap* efficiencyMap =
            k < efficiencyMaps.size() ? efficiencyMaps[k] : nullptr;
        auto in = engineInputs(c);
        if (!in)
            continue;
        if (request.swept == EngineInput::MassFlow)
            in->massFlowSource = MassFlowSource::Typed;
        for (std::size_t i = 0; i < sweep.count; ++i) {
            (*in)[request.swept] =
                fields::fromDisplay(swept.quantity, request.units, sweep.point(i));
            turbo::EngineResults r;
            if (efficiencyMap) {
                auto onMap = compmap::evaluateWithMapEfficiency(*in, *efficiencyMap);
                if (!onMap.results)
                    continue;
                (*in)[EngineInput::CompEfficiency] = onMap.efficiency;
                r = *onMap.results;
            } else {
                r = turbo::evaluateEngine(*in);
            }
            csv::writeField(out, c.name);
            if (sweptIsWheel)
                out << ',' << fields::shortestFloat((*in)[request.swept]);
            for (const auto& s : sources) {
                if (s.kind == CycleSource::Fuel) {
                    out << ',' << turbo::fuelProperties(in->fuel).key;
                    continue;
                }
                if (s.kind == CycleSource::Limits) {
                    out << ',' << kEngineFields[s.index].choices[r.point.limitSet];
                    continue;
                }
                const float v = s.kind == CycleSource::Input          ? in->values[s.index]
                                : s.kind == CycleSource::UsedMassFlow ? r.massFlow
                                                                      : r.values[s.index];
                out << ',' << fields::shortestFloat(v);
            }
            out << '\n';
        }
    }
    return std::nullopt;
}

std::optional<FileError> saveCandidates(const std::filesystem::path& file,
                                        std::span<const Candidate> candidates) {
    auto fail = [&](std::string message) {
        return FileError{file.string(), 0, 0, "not saved: " + std::move(message)};
    };
    std::ostringstream text;
    if (auto p = writeCandidates(text, candidates))
        return fail(*p);
    const std::string data = std::move(text).str();

    if (auto problem = userfile::write(file, data))
        return fail(*problem);
    return std::nullopt;
}

} // namespace explorer
