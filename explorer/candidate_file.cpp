#include "candidate_file.hpp"

#include "csv_field.hpp"
#include "csv_reader.hpp"
#include "number_text.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace explorer {

namespace {

using fields::kEngineFields;

constexpr std::string_view kNameColumn = "name";
// More would make neither a table nor a chart anyone can read; it also bounds the memory a
// stray file can take.
constexpr std::size_t kMaxCandidates = 10'000;
constexpr std::size_t kBufferSize = 16 << 10;

// What a column of the file holds.
struct Column {
    enum Kind { Name, Source, Fuel, Input } kind = Name;
    EngineInput input = EngineInput::CompOutletDiameter;
};

std::string columnList() {
    std::string list(kNameColumn);
    for (const auto& f : kEngineFields)
        if (fields::isInput(f))
            list.append(", ").append(f.key);
    return list;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<Column> columnFor(std::string_view key) {
    if (key == kNameColumn)
        return Column{Column::Name};
    if (key == kEngineFields[turbo::kMassFlowSourceField].key)
        return Column{Column::Source};
    if (key == kEngineFields[turbo::kFuelField].key)
        return Column{Column::Fuel};
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
        const auto input = static_cast<EngineInput>(i);
        if (turbo::engineField(input).key == key)
            return Column{Column::Input, input};
    }
    return std::nullopt;
}

std::optional<MassFlowSource> sourceFor(std::string_view word) {
    const auto& words = kEngineFields[turbo::kMassFlowSourceField].choices;
    if (word == words[0])
        return MassFlowSource::Typed;
    if (word == words[1])
        return MassFlowSource::Estimate;
    return std::nullopt;
}

void putText(std::ostream& out, std::string_view text) {
    if (!csv::needsQuotes(text)) {
        out << text;
        return;
    }
    out << '"';
    for (char c : text) {
        if (c == '"')
            out << '"';
        out << c;
    }
    out << '"';
}

} // namespace

std::string FileError::text() const {
    std::string t = file;
    if (line > 0)
        t += ", line " + std::to_string(line);
    if (column > 0)
        t += ", column " + std::to_string(column);
    return t + ": " + message;
}

ReadResult readCandidates(std::istream& in, std::string_view fileName) {
    ReadResult result;
    auto fail = [&](std::size_t line, std::size_t column, std::string message) {
        result.candidates.clear();
        result.error = FileError{std::string(fileName), line, column, std::move(message)};
        return std::move(result);
    };
    try {
        // Candidate files are small; the buffer grows for a longer record.
        csv::CsvReader reader(in, kBufferSize);
        if (!reader.next())
            return fail(0, 0, "empty; the first line must name the columns (" + columnList() + ")");

        std::vector<Column> columns;
        bool seenName = false;
        bool seenSource = false;
        bool seenFuel = false;
        std::array<bool, turbo::kEngineInputCount> seenInput{};
        const auto header = reader.fields();
        for (std::size_t c = 0; c < header.size(); ++c) {
            const auto key = trimmed(header[c]);
            const auto column = columnFor(key);
            if (!column)
                return fail(reader.line(), c + 1,
                            "unknown column " + quoted(key) + "; the columns are " + columnList());
            bool& seen = column->kind == Column::Name     ? seenName
                         : column->kind == Column::Source ? seenSource
                         : column->kind == Column::Fuel   ? seenFuel
                                                          : seenInput[std::size_t(column->input)];
            if (seen)
                return fail(reader.line(), c + 1, "column " + quoted(key) + " appears twice");
            seen = true;
            columns.push_back(*column);
        }

        while (reader.next()) {
            const auto row = reader.fields();
            if (row.size() != columns.size())
                return fail(reader.line(), std::min(row.size(), columns.size()) + 1,
                            std::to_string(row.size()) + (row.size() == 1 ? " field" : " fields") +
                                " where the header has " + std::to_string(columns.size()));
            if (result.candidates.size() == kMaxCandidates)
                return fail(reader.line(), 0,
                            "more than " + std::to_string(kMaxCandidates) + " candidates");
            Candidate candidate("Candidate " + std::to_string(result.candidates.size() + 1));
            for (std::size_t c = 0; c < row.size(); ++c) {
                switch (columns[c].kind) {
                case Column::Name:
                    candidate.name.assign(row[c]);
                    break;
                case Column::Source:
                    if (const auto source = sourceFor(trimmed(row[c])))
                        candidate.massFlowSource = *source;
                    else
                        return fail(reader.line(), c + 1,
                                    "mass-flow-source " + quoted(row[c]) +
                                        " is neither \"typed\" nor \"estimate\"");
                    break;
                case Column::Fuel:
                    if (const auto fuel = turbo::fuelFromKey(trimmed(row[c])))
                        candidate.fuel = *fuel;
                    else
                        return fail(reader.line(), c + 1,
                                    "fuel " + quoted(row[c]) +
                                        " is none of kerosene, diesel, propane and custom");
                    break;
                case Column::Input:
                    if (const auto value = fields::parseFloat(row[c]))
                        candidate[columns[c].input] = Cell::number(*value);
                    else
                        return fail(reader.line(), c + 1,
                                    std::string(turbo::engineField(columns[c].input).key) + ": " +
                                        notANumber(row[c]));
                    break;
                }
            }
            result.candidates.push_back(std::move(candidate));
        }
    } catch (const csv::CsvError& e) {
        return fail(e.line(), 0, e.what());
    }
    if (in.bad())
        return fail(0, 0, "reading failed");
    return result;
}

ReadResult loadCandidates(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return {{}, FileError{file.string(), 0, 0, "is a folder, not a file"}};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {
            {},
            FileError{file.string(), 0, 0, std::string("cannot open: ") + std::strerror(errno)}};
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
    out << '\n';
    const auto& sourceWords = kEngineFields[turbo::kMassFlowSourceField].choices;
    for (const auto& c : candidates) {
        const auto results = evaluate(c);
        putText(out, c.name);
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
            const auto input = static_cast<EngineInput>(i);
            if (input == EngineInput::MassFlow)
                out << ',' << sourceWords[c.massFlowSource == MassFlowSource::Typed ? 0 : 1];
            if (turbo::engineFieldIndex(input) == turbo::kFuelField + 1)
                out << ',' << turbo::fuelProperties(c.fuel).key;
            // The mass flow the cycle uses, so that the file runs through vorlaxen-calc cycle.
            const float value = input == EngineInput::MassFlow ? results->massFlow : c[input].value;
            out << ',' << fields::shortestFloat(value);
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

std::optional<std::string> writeCurveCsv(std::ostream& out, std::span<const Candidate> candidates,
                                         const CurveRequest& request) {
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
    for (const auto& c : candidates) {
        auto in = engineInputs(c);
        if (!in)
            continue;
        if (request.swept == EngineInput::MassFlow)
            in->massFlowSource = MassFlowSource::Typed;
        for (std::size_t i = 0; i < sweep.count; ++i) {
            (*in)[request.swept] =
                fields::fromDisplay(swept.quantity, request.units, sweep.point(i));
            const auto r = turbo::evaluateEngine(*in);
            putText(out, c.name);
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

namespace {

std::string systemError(std::string_view what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::optional<FileError> saveCandidates(const std::filesystem::path& file,
                                        std::span<const Candidate> candidates) {
    auto fail = [&](std::string message) {
        return FileError{file.string(), 0, 0, "not saved: " + std::move(message)};
    };
    std::ostringstream text;
    if (auto p = writeCandidates(text, candidates))
        return fail(*p);
    const std::string data = std::move(text).str();

    // Through a link, the file it points to is replaced, not the link.
    std::error_code ec;
    std::filesystem::path target = file;
    if (std::filesystem::is_symlink(target, ec)) {
        target = std::filesystem::weakly_canonical(target, ec);
        if (ec)
            return fail("cannot follow the link: " + ec.message());
    }
    const auto folder = target.has_parent_path() ? target.parent_path() : ".";

    // A new name beside the target, created here and nowhere else (O_EXCL).
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = folder / ("." + target.filename().string() + ".saving-" +
                         std::to_string(::getpid()) + "-" + std::to_string(attempt));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(systemError("cannot create a file in " + folder.string()));
    }
    if (fd < 0)
        return fail("cannot create a temporary file in " + folder.string());

    std::string problem;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        (void)::fchmod(fd, old.st_mode & 07777); // keep the old file's permissions
    if (!writeAll(fd, data))
        problem = systemError("writing failed");
    else if (::fsync(fd) != 0)
        problem = systemError("flushing to the disk failed");
    if (::close(fd) != 0 && problem.empty())
        problem = systemError("closing failed");
    if (problem.empty() && ::rename(temp.c_str(), target.c_str()) != 0)
        problem = systemError("cannot replace the file");
    if (!problem.empty()) {
        ::unlink(temp.c_str());
        return fail(problem);
    }
    // The rename itself is made durable by flushing the folder; the new file is already whole.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

} // namespace explorer
