#include "run_log.hpp"

#include "csv_reader.hpp"
#include "enum_table.hpp"
#include "number_text.hpp"
#include "text.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace runs {

namespace {

using fields::Quantity;
using fields::UnitSystem;

constexpr std::array<MeasuredInfo, kMeasuredCount> kMeasured{{
    {Measured::Rpm, "rpm", "", "Speed", Quantity::Speed},
    {Measured::P2, "p2", "", "P2", Quantity::GaugePressure},
    {Measured::TurbineOutletTemp, "turbine-outlet-temp", "egt", "Turbine Outlet Temp.",
     Quantity::Temperature},
    {Measured::Thrust, "thrust", "", "Thrust", Quantity::Force},
    {Measured::FuelFlow, "fuel-flow", "", "Fuel Flow", Quantity::FuelFlow},
    {Measured::MassFlow, "mass-flow", "", "Mass Flow", Quantity::MassFlow},
    {Measured::AmbientTemp, "ambient-temp", "", "Ambient Temp.", Quantity::Temperature},
    {Measured::AmbientPressure, "ambient-pressure", "", "Ambient Pressure", Quantity::Pressure},
}};

static_assert(fields::inEnumOrder(kMeasured, &MeasuredInfo::measured),
              "the table is looked up by the quantity's number");

// Plain-keyboard spellings of the units the unit table writes with dots, spaces or symbols.
struct UnitSpelling {
    Quantity quantity;
    std::string_view text; // lower case
    UnitSystem system;
};
constexpr UnitSpelling kSpellings[] = {
    {Quantity::Force, "lbf", UnitSystem::Forms},
    {Quantity::Force, "lb", UnitSystem::Forms},
    {Quantity::Force, "lbs", UnitSystem::Forms},
    {Quantity::GaugePressure, "psi", UnitSystem::Forms},
    {Quantity::GaugePressure, "bar", UnitSystem::Metric},
    {Quantity::GaugePressure, "barg", UnitSystem::Metric},
    {Quantity::Pressure, "psia", UnitSystem::Forms},
    {Quantity::Pressure, "bara", UnitSystem::Metric},
    {Quantity::Temperature, "degc", UnitSystem::Forms},
    {Quantity::Temperature, "c", UnitSystem::Forms},
    {Quantity::Temperature,
     "\xc2\xb0"
     "c",
     UnitSystem::Forms},
    {Quantity::Speed, "1/min", UnitSystem::Forms},
};

constexpr std::size_t kBufferSize = 16 << 10;
constexpr std::size_t kMaxRecord = 1 << 20;

using text::lowered;
using text::trimmed;

std::string columnList() {
    std::string list;
    for (const auto& m : kMeasured) {
        if (!list.empty())
            list += ", ";
        list += m.key;
        if (!m.alias.empty())
            list.append(" (or ").append(m.alias).append(")");
    }
    return list;
}

std::string unitList(Quantity q) {
    std::string list;
    const auto add = [&](std::string_view unit) {
        if (unit.empty() || list.find(std::string(unit)) != std::string::npos)
            return;
        list.append(list.empty() ? "" : ", ").append(unit);
    };
    add(fields::unitText(q, UnitSystem::Forms));
    add(fields::unitText(q, UnitSystem::Metric));
    for (const auto& s : kSpellings)
        if (s.quantity == q)
            add(s.text);
    return list;
}

std::optional<UnitSystem> unitSystemFor(Quantity q, std::string_view unit) {
    const std::string low = lowered(unit);
    for (const auto system : {UnitSystem::Forms, UnitSystem::Metric}) {
        const auto text = fields::unitText(q, system);
        if (!text.empty() && lowered(text) == low)
            return system;
    }
    for (const auto& s : kSpellings)
        if (s.quantity == q && s.text == low)
            return s.system;
    return std::nullopt;
}

struct Column {
    std::optional<Measured> measured; // none for a column that takes no part
    UnitSystem system = UnitSystem::Forms;
};

struct Refusal {
    std::size_t line, column;
    std::string message;
};

Column columnFor(std::string_view header, std::size_t line, std::size_t index) {
    std::string_view name = trimmed(header);
    std::optional<std::string_view> unit;
    if (const auto open = name.find('['); open != std::string_view::npos && name.back() == ']') {
        unit = trimmed(name.substr(open + 1, name.size() - open - 2));
        name = trimmed(name.substr(0, open));
    }
    std::string key = lowered(name);
    std::replace(key.begin(), key.end(), '_', '-');
    for (const auto& m : kMeasured) {
        if (key != m.key && key != m.alias)
            continue;
        Column column{m.measured};
        if (unit) {
            const auto system = unitSystemFor(m.quantity, *unit);
            if (!system)
                throw Refusal{line, index,
                              text::quoted(*unit) + " is not a unit of " + std::string(m.key) +
                                  (m.quantity == Quantity::None && unitList(m.quantity).empty()
                                       ? ""
                                       : "; it is read in " + unitList(m.quantity))};
            column.system = *system;
        }
        return column;
    }
    return Column{};
}

} // namespace

const MeasuredInfo& measuredInfo(Measured m) {
    return kMeasured[static_cast<std::size_t>(m)];
}

std::array<Measured, kMeasuredCount> allMeasured() {
    std::array<Measured, kMeasuredCount> all{};
    for (std::size_t i = 0; i < kMeasuredCount; ++i)
        all[i] = kMeasured[i].measured;
    return all;
}

RunLogResult readRunLog(std::istream& in, std::string_view fileName) {
    RunLog log;
    log.file = fileName;
    try {
        csv::CsvReader reader(in, kBufferSize, kMaxRecord, csv::kDetectSeparator);
        if (!reader.next())
            throw Refusal{0, 0,
                          "empty; the first line must name the columns (" + columnList() + ")"};
        std::vector<Column> columns;
        const auto header = reader.fields();
        for (std::size_t c = 0; c < header.size(); ++c) {
            const Column column = columnFor(header[c], reader.line(), c + 1);
            if (column.measured) {
                bool& seen = log.hasColumn[static_cast<std::size_t>(*column.measured)];
                if (seen)
                    throw Refusal{reader.line(), c + 1,
                                  std::string(measuredInfo(*column.measured).key) +
                                      " appears twice"};
                seen = true;
            } else {
                log.otherColumns.emplace_back(trimmed(header[c]));
            }
            columns.push_back(column);
        }
        if (std::none_of(log.hasColumn.begin(), log.hasColumn.end(), [](bool b) { return b; }))
            throw Refusal{reader.line(), 0,
                          "no column of a measured quantity; the columns read are " + columnList()};

        while (reader.next()) {
            const auto row = reader.fields();
            if (row.size() != columns.size())
                throw Refusal{reader.line(), std::min(row.size(), columns.size()) + 1,
                              std::to_string(row.size()) +
                                  (row.size() == 1 ? " field" : " fields") +
                                  " where the header has " + std::to_string(columns.size())};
            if (log.points.size() == kMaxPoints)
                throw Refusal{reader.line(), 0,
                              "more than " + std::to_string(kMaxPoints) + " points"};
            RunPoint point;
            point.line = reader.line();
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (!columns[c].measured)
                    continue;
                const auto& info = measuredInfo(*columns[c].measured);
                const auto text = trimmed(row[c]);
                if (text.empty())
                    continue; // not measured at this point
                const auto typed = fields::parseFloat(text);
                if (!typed)
                    throw Refusal{reader.line(), c + 1,
                                  std::string(info.key) + ": " + fields::notANumber(text)};
                const float value = fields::fromDisplay(info.quantity, columns[c].system, *typed);
                if (!std::isfinite(value))
                    throw Refusal{reader.line(), c + 1,
                                  std::string(info.key) + ": " + text::quoted(text) +
                                      " is not a finite measurement"};
                point.values[static_cast<std::size_t>(info.measured)] = value;
            }
            log.points.push_back(point);
        }
        if (log.points.empty())
            throw Refusal{0, 0, "no points: the header is the only line"};
    } catch (const Refusal& r) {
        return RunLogError{std::string(fileName), r.line, r.column, r.message};
    } catch (const csv::CsvError& e) {
        return RunLogError{std::string(fileName), e.line(), 0, e.what()};
    }
    if (in.bad())
        return RunLogError{std::string(fileName), 0, 0, "reading failed"};
    return log;
}

RunLogResult loadRunLog(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return RunLogError{path, 0, 0, "is a folder, not a file"};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return RunLogError{path, 0, 0, std::string("cannot open: ") + std::strerror(errno)};
    return readRunLog(in, path);
}

} // namespace runs
