#include "batch.hpp"

#include "csv_reader.hpp"
#include "messages.hpp"
#include "number_text.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace cli {

namespace {

std::string_view trimmed(std::string_view name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
        name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    return name;
}

// What each input column feeds.
struct ColumnUse {
    enum class What : unsigned char { Number, Units, Choice, Carried };
    What what;
    std::size_t field; // of the calculation, unless carried
    float* target;     // where a number goes
};

struct Header {
    std::vector<ColumnUse> columns;
    std::optional<std::size_t> unitColumn;
    std::vector<OutColumn> carried;
};

Header readHeader(const Calculation& calc, const Plan& plan,
                  std::span<const std::string_view> names, const std::string& where) {
    const auto fields = calc.fields();
    Header header;
    std::vector<std::string> seen;
    for (std::size_t c = 0; c < names.size(); ++c) {
        const std::string_view name = trimmed(names[c]);
        const auto column = where + ", column " + std::to_string(c + 1);
        if (name.empty())
            throw BadInput(column + ": the column has no name");
        for (const auto& s : seen)
            if (s == name)
                throw BadInput(column + ": column " + shown(name) + " appears twice");
        seen.emplace_back(name);
        const auto field = findField(fields, name);
        if (!field) {
            header.columns.push_back({ColumnUse::What::Carried, 0, nullptr});
            header.carried.push_back({std::string(name), true, c});
            continue;
        }
        if (!isInput(fields[*field]))
            throw BadInput(column + ": " + shown(name) + " is a result, not an input; the " +
                           "inputs are " + inputKeys(calc));
        if (plan.isGiven(*field))
            throw BadInput(column + ": " + shown(name) + " is also given as --" +
                           std::string(name));
        if (const auto other = otherTurbineTemp(calc, *field);
            other &&
            (plan.isGiven(*other) ||
             std::any_of(header.columns.begin(), header.columns.end(), [&](const ColumnUse& u) {
                 return u.what != ColumnUse::What::Carried && u.field == *other;
             })))
            throw BadInput(column + ": " + bothTurbineTemps(""));
        using W = ColumnUse::What;
        const auto kind = fields[*field].kind;
        if (kind == Kind::Units) {
            if (plan.unitGiven)
                throw BadInput(column + ": \"units\" is also given as --units");
            header.unitColumn = c;
        }
        header.columns.push_back({kind == Kind::Number  ? W::Number
                                  : kind == Kind::Units ? W::Units
                                                        : W::Choice,
                                  *field, calc.slot(*field)});
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!fields[i].required || plan.isGiven(i))
            continue;
        bool present = false;
        for (const auto& u : header.columns)
            present = present || (u.what != ColumnUse::What::Carried && u.field == i);
        if (!present)
            throw BadInput(where.substr(0, where.rfind(", line")) + ": no column \"" +
                           std::string(fields[i].key) + "\" and no --" +
                           std::string(fields[i].key) + "; it is required");
    }
    return header;
}

} // namespace

void runBatch(std::string_view calcName, Calculation& calc, const Plan& plan, std::istream& in,
              std::string_view source, Sink& sink, std::ostream& err) {
    const auto fields = calc.fields();
    auto where = [&](std::size_t line) {
        return std::string(source) + ", line " + std::to_string(line);
    };

    // The separator is ',' unless the header is separated by ';', as spreadsheets save CSV
    // where the decimal point is a comma.
    csv::CsvReader reader(in, csv::CsvReader::kBufferSize, csv::CsvReader::kMaxRecord,
                          csv::kDetectSeparator);
    try {
        if (!reader.next())
            throw BadInput(std::string(source) +
                           ": empty input; the first line must name the columns (" +
                           inputKeys(calc) + ")");
        const Header header = readHeader(calc, plan, reader.fields(), where(reader.line()));
        PointWriter writer(sink, plan.format, calc, outputColumns(calc, plan, header.carried),
                           plan.digits, TableLayout::Rows);
        if (!header.carried.empty()) {
            std::vector<std::string> names;
            for (const auto& c : header.carried)
                names.push_back(bare(c.name));
            err << kProgram << ": carried through unchanged, not inputs of " << calcName << ": "
                << joined(names) << '\n';
        }
        writer.begin();

        const std::size_t columns = header.columns.size();
        while (reader.next()) {
            const auto row = reader.fields();
            if (row.size() != columns)
                throw BadInput(where(reader.line()) + ": " + std::to_string(row.size()) +
                               (row.size() == 1 ? " field" : " fields") + " where the header has " +
                               std::to_string(columns));
            int unitIndex = plan.unitIndex;
            if (header.unitColumn)
                unitIndex =
                    unitIndexFromText(row[*header.unitColumn],
                                      where(reader.line()) + ", column " +
                                          std::to_string(*header.unitColumn + 1) + " (units)");
            startPoint(calc, plan, unitIndex);
            for (std::size_t c = 0; c < columns; ++c) {
                const auto& use = header.columns[c];
                if (use.what == ColumnUse::What::Number) {
                    const auto value = fields::parseFloat(row[c]);
                    if (!value)
                        throw BadInput(where(reader.line()) + ", column " + std::to_string(c + 1) +
                                       " (" + std::string(fields[use.field].key) +
                                       "): " + numberProblem(row[c]));
                    *use.target = *value;
                } else if (use.what == ColumnUse::What::Choice) {
                    calc.setChoice(use.field,
                                   choiceFromText(fields[use.field], row[c],
                                                  where(reader.line()) + ", column " +
                                                      std::to_string(c + 1) + " (" +
                                                      std::string(fields[use.field].key) + ")"));
                }
            }
            calc.compute();
            writer.point(row);
        }
    } catch (const csv::CsvError& e) {
        throw BadInput(where(e.line()) + ": " + e.what());
    }
}

} // namespace cli
