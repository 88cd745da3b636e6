#include "map_file.hpp"

#include "csv_reader.hpp"
#include "number_text.hpp"
#include "text.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

namespace compmap {

namespace {

using text::isBlank;
using text::quoted;

// A finite number, or the reason it is not one.
std::variant<float, std::string> finiteNumber(std::string_view text) {
    const auto value = fields::parseFloat(text);
    if (!value)
        return fields::notANumber(text);
    if (!std::isfinite(*value))
        return quoted(text) + " is not a finite number";
    return *value;
}

std::string kindWord(LineKind kind) {
    switch (kind) {
    case LineKind::Surge:
        return "surge line";
    case LineKind::Speed:
        return "speed line";
    case LineKind::Island:
        return "efficiency island";
    }
    return {};
}

std::string tooFewPoints(LineKind kind, std::size_t count) {
    return "the " + kindWord(kind) + " has " + std::to_string(count) + " point" +
           (count == 1 ? "" : "s") + "; it needs at least " + std::to_string(minimumPoints(kind));
}

struct Word {
    std::string_view text;
    std::size_t column; // from 1
};

std::vector<Word> words(std::string_view line) {
    std::vector<Word> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            out.push_back({line.substr(start, i - start), start + 1});
    }
    return out;
}

class TextReader {
public:
    explicit TextReader(std::string_view fileName) : file_(fileName) {}

    MapReadResult read(std::istream& in) {
        std::string text;
        while (std::getline(in, text)) {
            ++lineNumber_;
            std::string_view line = text;
            if (lineNumber_ == 1 && line.starts_with("\xEF\xBB\xBF"))
                line.remove_prefix(3);
            if (!statement(line))
                return failed();
        }
        if (open_) {
            fail(openLine_, 0, "the " + kindWord(open_->kind) + " begun here has no \"end\"");
            return failed();
        }
        return {std::move(map_), std::nullopt};
    }

private:
    bool fail(std::size_t line, std::size_t column, std::string message) {
        error_ = MapError{std::string(file_), line, column, std::move(message)};
        return false;
    }
    bool fail(const Word& at, std::string message) {
        return fail(lineNumber_, at.column, std::move(message));
    }
    MapReadResult failed() { return {std::nullopt, std::move(error_)}; }

    bool number(const Word& word, float& value) {
        auto read = finiteNumber(word.text);
        if (auto* why = std::get_if<std::string>(&read))
            return fail(word, std::move(*why));
        value = std::get<float>(read);
        return true;
    }

    // Exactly `count` numbers after the keyword.
    bool numbers(const std::vector<Word>& w, std::size_t count, float* values) {
        if (w.size() < count + 1)
            return fail(lineNumber_, 0,
                        quoted(w[0].text) + " needs " + std::to_string(count) + " number" +
                            (count == 1 ? "" : "s"));
        if (w.size() > count + 1)
            return fail(w[count + 1], "unexpected " + quoted(w[count + 1].text) + " after " +
                                          std::to_string(count) + " number" +
                                          (count == 1 ? "" : "s"));
        for (std::size_t i = 0; i < count; ++i)
            if (!number(w[i + 1], values[i]))
                return false;
        return true;
    }

    bool once(const Word& keyword, bool& seen) {
        if (seen)
            return fail(keyword, quoted(keyword.text) + " appears twice");
        seen = true;
        return true;
    }

    bool statement(std::string_view line) {
        const auto keyword = words(line.substr(0, line.find('#')));
        if (keyword.empty())
            return true;
        if (open_)
            return point(keyword);
        const std::string_view key = keyword[0].text;
        if (key == "picture") {
            if (!once(keyword[0], seenPicture_))
                return false;
            // The rest of the line, blanks and '#' included, so that any file name can be given.
            map_.picture = text::trimmed(line.substr(keyword[0].column - 1 + key.size()));
            if (map_.picture.empty())
                return fail(lineNumber_, 0, "\"picture\" needs a file name");
            return true;
        }
        if (key == "flow-unit") {
            if (!once(keyword[0], seenUnit_))
                return false;
            if (keyword.size() != 2)
                return fail(lineNumber_, 0, "\"flow-unit\" needs one word: lb/min or kg/s");
            const auto unit = flowUnitFromText(keyword[1].text);
            if (!unit)
                return fail(keyword[1], "unknown flow unit " + quoted(keyword[1].text) +
                                            "; the units are lb/min and kg/s");
            map_.flowUnit = *unit;
            return true;
        }
        if (key == "reference-temperature" || key == "reference-pressure") {
            const bool temperature = key == "reference-temperature";
            if (!once(keyword[0], temperature ? seenTemperature_ : seenPressure_))
                return false;
            float& value = temperature ? map_.referenceTemperature : map_.referencePressure;
            if (!numbers(keyword, 1, &value))
                return false;
            if (!(value > 0))
                return fail(keyword[1], std::string(key) + " must be above zero");
            return true;
        }
        if (key == "flow-axis" || key == "pressure-axis") {
            const bool flow = key == "flow-axis";
            if (!once(keyword[0], flow ? seenFlowAxis_ : seenPressureAxis_))
                return false;
            float v[4];
            if (!numbers(keyword, 4, v))
                return false;
            const AxisCalibration axis{v[0], v[1], v[2], v[3]};
            if (v[0] == v[2])
                return fail(keyword[3], "the axis's two pixels must differ");
            if (v[1] == v[3])
                return fail(keyword[4], "the axis's two values must differ");
            (flow ? map_.flowAxis : map_.pressureAxis) = axis;
            return true;
        }
        if (key == "surge") {
            if (keyword.size() > 1)
                return fail(keyword[1],
                            "unexpected " + quoted(keyword[1].text) + " after \"surge\"");
            if (map_.surgeLine())
                return fail(keyword[0], "a second surge line; a map has one");
            return begin(LineKind::Surge, 0);
        }
        if (key == "speed" || key == "island") {
            float value = 0;
            if (!numbers(keyword, 1, &value))
                return false;
            return begin(key == "speed" ? LineKind::Speed : LineKind::Island, value);
        }
        if (key == "end")
            return fail(keyword[0], "\"end\" without a line begun");
        return fail(keyword[0], "unknown statement " + quoted(key) +
                                    "; the statements are flow-unit, reference-temperature, "
                                    "reference-pressure, picture, flow-axis, pressure-axis, "
                                    "surge, speed and island");
    }

    bool begin(LineKind kind, float value) {
        open_ = MapLine{kind, value, {}};
        openLine_ = lineNumber_;
        return true;
    }

    bool point(const std::vector<Word>& w) {
        if (w[0].text == "end") {
            if (w.size() > 1)
                return fail(w[1], "unexpected " + quoted(w[1].text) + " after \"end\"");
            if (open_->points.size() < minimumPoints(open_->kind))
                return fail(lineNumber_, w[0].column,
                            tooFewPoints(open_->kind, open_->points.size()));
            map_.lines.push_back(std::move(*open_));
            open_.reset();
            return true;
        }
        static constexpr std::string_view kBegins[] = {"surge", "speed", "island"};
        if (std::find(std::begin(kBegins), std::end(kBegins), w[0].text) != std::end(kBegins))
            return fail(w[0], "the " + kindWord(open_->kind) + " begun on line " +
                                  std::to_string(openLine_) + " has no \"end\"");
        if (w.size() != 2) {
            const Word& at = w.size() > 2 ? w[2] : w[0];
            return fail(at, "expected a point (flow and pressure ratio) or \"end\"");
        }
        MapPoint p;
        if (!number(w[0], p.flow) || !number(w[1], p.pressureRatio))
            return false;
        open_->points.push_back(p);
        return true;
    }

    std::string_view file_;
    std::size_t lineNumber_ = 0;
    CompressorMap map_;
    std::optional<MapLine> open_;
    std::size_t openLine_ = 0;
    std::optional<MapError> error_;
    bool seenPicture_ = false, seenUnit_ = false, seenTemperature_ = false, seenPressure_ = false,
         seenFlowAxis_ = false, seenPressureAxis_ = false;
};

// The kind a digitizer's dataset name stands for: "surge ...", "<number> rpm", "<number> %".
std::optional<MapLine> lineFromName(std::string_view name) {
    const std::string low = text::lowered(name);
    if (low.find("surge") != std::string::npos)
        return MapLine{LineKind::Surge, 0, {}};
    std::string_view rest = low;
    LineKind kind;
    if (rest.ends_with("rpm")) {
        kind = LineKind::Speed;
        rest.remove_suffix(3);
    } else if (rest.ends_with("%")) {
        kind = LineKind::Island;
        rest.remove_suffix(1);
    } else {
        return std::nullopt;
    }
    const auto value = fields::parseFloat(rest);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return MapLine{kind, *value, {}};
}

} // namespace

MapReadResult readMapText(std::istream& in, std::string_view fileName) {
    return TextReader(fileName).read(in);
}

MapReadResult readDigitizerCsv(std::istream& in, std::string_view fileName,
                               const ImportSettings& settings) {
    auto fail = [&](std::size_t line, std::size_t column, std::string message) {
        return MapReadResult{std::nullopt,
                             MapError{std::string(fileName), line, column, std::move(message)}};
    };
    CompressorMap map;
    map.flowUnit = settings.flowUnit;
    map.referenceTemperature = settings.referenceTemperature;
    map.referencePressure = settings.referencePressure;
    try {
        // Far below the reader's default: a digitizer's rows are short.
        csv::CsvReader reader(in, std::size_t{1} << 16, std::size_t{1} << 20,
                              csv::kDetectSeparator);
        if (!reader.next())
            return fail(0, 0, "empty; the first row must name the datasets");
        std::vector<MapLine> lines;
        const auto names = reader.fields();
        for (std::size_t c = 0; c < names.size(); ++c) {
            const std::string_view name = text::trimmed(names[c]);
            if (c % 2 == 1) {
                if (!name.empty())
                    return fail(reader.line(), c + 1,
                                "a dataset's name goes over its X column, with the Y column's "
                                "cell left empty");
                continue;
            }
            if (name.empty()) {
                // Empty cells after the last name, as spreadsheets leave them, end the row.
                if (std::all_of(names.begin() + c, names.end(),
                                [](std::string_view f) { return text::trimmed(f).empty(); }))
                    break;
                return fail(reader.line(), c + 1, "a dataset without a name");
            }
            auto line = lineFromName(name);
            if (!line)
                return fail(reader.line(), c + 1,
                            "the dataset " + quoted(name) +
                                " is not a surge line (a name with \"surge\"), a speed line "
                                "(\"120000 rpm\") or an efficiency island (\"72 %\")");
            if (line->kind == LineKind::Surge &&
                std::any_of(lines.begin(), lines.end(),
                            [](const MapLine& l) { return l.kind == LineKind::Surge; }))
                return fail(reader.line(), c + 1, "a second surge line; a map has one");
            lines.push_back(std::move(*line));
        }
        const std::size_t headerLine = reader.line();
        if (!reader.next())
            return fail(headerLine, 0,
                        "the file ends after the dataset names; the second row must say X,Y "
                        "under each dataset");
        const auto axes = reader.fields();
        for (std::size_t c = 0; c < 2 * lines.size(); ++c) {
            const std::string_view want = c % 2 == 0 ? "x" : "y";
            if (c >= axes.size() || text::lowered(text::trimmed(axes[c])) != want)
                return fail(reader.line(), std::min(c, axes.size()) + 1,
                            "the second row must say X,Y under each dataset");
        }
        while (reader.next()) {
            const auto row = reader.fields();
            for (std::size_t c = 2 * lines.size(); c < row.size(); ++c)
                if (!text::trimmed(row[c]).empty())
                    return fail(reader.line(), c + 1, "a value beyond the named datasets");
            for (std::size_t d = 0; d < lines.size(); ++d) {
                const std::string_view x = 2 * d < row.size() ? text::trimmed(row[2 * d]) : "";
                const std::string_view y =
                    2 * d + 1 < row.size() ? text::trimmed(row[2 * d + 1]) : "";
                if (x.empty() && y.empty())
                    continue;
                MapPoint p;
                for (std::size_t k = 0; k < 2; ++k) {
                    auto value = finiteNumber(k == 0 ? x : y);
                    if (auto* why = std::get_if<std::string>(&value))
                        return fail(reader.line(), 2 * d + k + 1, std::move(*why));
                    (k == 0 ? p.flow : p.pressureRatio) = std::get<float>(value);
                }
                lines[d].points.push_back(p);
            }
        }
        for (std::size_t d = 0; d < lines.size(); ++d)
            if (lines[d].points.size() < minimumPoints(lines[d].kind))
                return fail(1, 2 * d + 1, tooFewPoints(lines[d].kind, lines[d].points.size()));
        map.lines = std::move(lines);
    } catch (const csv::CsvError& e) {
        return fail(e.line(), 0, e.what());
    }
    if (in.bad())
        return fail(0, 0, "reading failed");
    return {std::move(map), std::nullopt};
}

MapReadResult loadMap(const std::filesystem::path& file, const ImportSettings& settings) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int code = errno;
        return {std::nullopt,
                MapError{file.string(), 0, 0, std::string("cannot open: ") + std::strerror(code)}};
    }
    const std::string extension = text::lowered(file.extension().string());
    auto result = extension == ".csv" ? readDigitizerCsv(in, file.string(), settings)
                                      : readMapText(in, file.string());
    if (!result.error && in.bad())
        return {std::nullopt, MapError{file.string(), 0, 0, "reading failed"}};
    return result;
}

void writeMapText(std::ostream& out, const CompressorMap& map) {
    out << "# Compressor map: corrected flow against pressure ratio.\n"
        << "flow-unit " << flowUnitText(map.flowUnit) << '\n'
        << "reference-temperature " << numberText(map.referenceTemperature) << "  # K\n"
        << "reference-pressure " << numberText(map.referencePressure) << "  # psi absolute\n";
    if (!map.picture.empty())
        out << "picture " << map.picture << '\n';
    const auto axis = [&](const char* key, const AxisCalibration& a) {
        out << key << ' ' << numberText(a.pixel1) << ' ' << numberText(a.value1) << ' '
            << numberText(a.pixel2) << ' ' << numberText(a.value2) << '\n';
    };
    if (map.flowAxis)
        axis("flow-axis", *map.flowAxis);
    if (map.pressureAxis)
        axis("pressure-axis", *map.pressureAxis);
    for (const auto& line : map.lines) {
        out << '\n';
        switch (line.kind) {
        case LineKind::Surge:
            out << "surge\n";
            break;
        case LineKind::Speed:
            out << "speed " << numberText(line.value) << "  # rpm\n";
            break;
        case LineKind::Island:
            out << "island " << numberText(line.value) << "  # %\n";
            break;
        }
        for (const auto& p : line.points)
            out << "  " << numberText(p.flow) << ' ' << numberText(p.pressureRatio) << '\n';
        out << "end\n";
    }
}

} // namespace compmap
