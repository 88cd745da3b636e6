#include "candidate_file.hpp"

#include "efficiency_from_map.hpp"
#include "evaluate_point.hpp"
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
// Room for the most candidates with long names and notes.
constexpr std::size_t kMaxCandidatesBytes = std::size_t{64} << 20;
constexpr std::size_t kBufferSize = 16 << 10;

// What a column of the file holds.
struct Column {
    enum Kind { Name, Source, Fuel, Input, Look, Map, EfficiencyFromMap, RunLog } kind = Name;
    EngineInput input = EngineInput::CompOutletDiameter;
};

// The columns a candidate file may have besides the engine's number inputs, each by its key.
struct NamedColumn {
    std::string_view key;
    Column::Kind kind;
};
constexpr std::array<NamedColumn, 7> kNamedColumns{{
    {kNameColumn, Column::Name},
    {kLookColumn, Column::Look},
    {kMapColumn, Column::Map},
    {compmap::kEfficiencyFromMapColumn, Column::EfficiencyFromMap},
    {kEngineFields[turbo::kMassFlowSourceField].key, Column::Source},
    {kEngineFields[turbo::kFuelField].key, Column::Fuel},
    {kRunLogColumn, Column::RunLog},
}};

std::string columnList() {
    std::string list(kNameColumn);
    for (const auto& f : kEngineFields)
        if (fields::isInput(f))
            list.append(", ").append(f.key);
    for (const auto& c : kNamedColumns)
        if (c.kind != Column::Name && c.kind != Column::Source && c.kind != Column::Fuel)
            list.append(", ").append(c.key);
    return list;
}

// The columns a candidate file may have, with what each holds, found by key.
std::vector<std::string_view> knownColumns(std::vector<Column>& kinds) {
    std::vector<std::string_view> keys;
    for (const auto& c : kNamedColumns) {
        keys.push_back(c.key);
        kinds.push_back(Column{c.kind});
    }
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
        const auto input = static_cast<EngineInput>(i);
        keys.push_back(turbo::engineField(input).key);
        kinds.push_back(Column{Column::Input, input});
    }
    return keys;
}

// A choice column's word, or the message naming the column and its words.
template <class Apply>
void readChoice(csv::FieldFileReader& file, std::size_t c, std::string_view text,
                const fields::Field& field, Apply apply) {
    if (const auto word = csv::matchWord(text, field.choices)) {
        apply(*word);
        return;
    }
    // "is not "a" or "b"", "is not "a", "b" or "c"": the table's words, however many.
    std::string words;
    for (std::size_t i = 0; i < field.choices.size(); ++i)
        words.append(i == 0                          ? "\""
                     : i + 1 == field.choices.size() ? "\" or \""
                                                     : "\", \"")
            .append(field.choices[i]);
    file.fail(c, std::string(field.key) + " " + quoted(text) + " is not " + words + "\"");
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
        std::vector<Column> kinds;
        const auto known = knownColumns(kinds);
        csv::FieldFileReader file(in, known, csv::UnknownColumns::Carry, kBufferSize);
        result.ignored = file.carried();
        std::vector<std::optional<Column>> columns;
        for (const auto& c : file.columns())
            columns.push_back(c ? std::optional(kinds[*c]) : std::nullopt);
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
                    readChoice(file, c, row[c], kEngineFields[turbo::kMassFlowSourceField],
                               [&](std::size_t word) {
                                   candidate.massFlowSource = static_cast<MassFlowSource>(word);
                               });
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
                    readChoice(
                        file, c, row[c], kEngineFields[turbo::kFuelField],
                        [&](std::size_t word) { candidate.fuel = static_cast<turbo::Fuel>(word); });
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
    std::filesystem::path target;
    if (!userfile::resolveLinks(file, target))
        userfile::removeLeftovers(target); // of a save that was killed midway
    auto whole = userfile::readWhole(file, kMaxCandidatesBytes);
    if (whole.error)
        return {{}, FileError{file.string(), 0, 0, std::move(*whole.error)}, {}};
    std::istringstream in(std::move(whole.data));
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
    const auto& fuelWords = kEngineFields[turbo::kFuelField].choices;
    for (const auto& c : candidates) {
        const auto p = evaluate(c);
        csv::writeField(out, c.name);
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
            const auto input = static_cast<EngineInput>(i);
            if (turbo::engineFieldIndex(input) == turbo::kMassFlowSourceField + 1)
                out << ',' << sourceWords[static_cast<std::size_t>(c.massFlowSource)];
            if (turbo::engineFieldIndex(input) == turbo::kFuelField + 1)
                out << ',' << fuelWords[static_cast<std::size_t>(p->used.fuel)];
            // What the point used where the candidate leaves it to the point (the mass flow, an
            // ambient value or fuel property not given), so that the file runs through
            // vorlaxen-calc with the same figures; the typed value elsewhere.
            const bool used = input == EngineInput::MassFlow || turbo::isNotGiven(c[input].value);
            out << ',' << fields::shortestFloat(used ? p->used[input] : c[input].value);
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

// Where a cycle column's value comes from in the point's inputs as used and its results.
struct CycleSource {
    enum Kind { Input, Result, Fuel, Limits } kind;
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
                s = {CycleSource::Input, i};
        for (std::size_t r = 0; r < turbo::kEngineResultCount; ++r)
            if (turbo::engineFieldIndex(static_cast<EngineResult>(r)) == *at)
                s = {CycleSource::Result, r};
        sources.push_back(s);
    }
    return sources;
}

} // namespace

std::optional<std::string> writeCurveCsv(std::ostream& out, std::span<const Candidate> candidates,
                                         const CurveRequest& request,
                                         std::span<const compmap::CompressorMap* const> maps) {
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
        const compmap::CompressorMap* map = k < maps.size() ? maps[k] : nullptr;
        const auto inputs = engineInputs(c);
        if (!inputs)
            continue;
        point::PointInputs in{
            .engine = *inputs, .map = map, .efficiencyFromMap = map && c.efficiencyFromMap};
        if (request.swept == EngineInput::MassFlow)
            in.engine.massFlowSource = MassFlowSource::Typed;
        for (std::size_t i = 0; i < sweep.count; ++i) {
            in.engine[request.swept] =
                fields::fromDisplay(swept.quantity, request.units, sweep.point(i));
            const point::Point p = point::evaluatePoint(in);
            if (p.outsideIslands)
                continue;
            csv::writeField(out, c.name);
            if (sweptIsWheel)
                out << ',' << fields::shortestFloat(p.used[request.swept]);
            for (const auto& s : sources) {
                if (s.kind == CycleSource::Fuel) {
                    out << ',' << kEngineFields[s.index].choices[static_cast<int>(p.used.fuel)];
                    continue;
                }
                if (s.kind == CycleSource::Limits) {
                    out << ',' << kEngineFields[s.index].choices[p.limitSet];
                    continue;
                }
                const float v = s.kind == CycleSource::Result ? p.results.values[s.index]
                                                              : p.used.values[s.index];
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
