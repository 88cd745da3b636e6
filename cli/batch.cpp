#include "batch.hpp"

#include "efficiency_from_map.hpp"
#include "field_file.hpp"
#include "map_matching.hpp"
#include "messages.hpp"
#include "number_text.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cli {

namespace {

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

Header readHeader(const Calculation& calc, const Plan& plan, const csv::FieldFileReader& file,
                  const std::string& source) {
    const auto fields = calc.fields();
    Header header;
    const auto columns = file.columns();
    std::size_t carried = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (!columns[c]) {
            header.columns.push_back({ColumnUse::What::Carried, 0, nullptr});
            header.carried.push_back({file.carried()[carried++], true, c});
            continue;
        }
        const std::size_t field = *columns[c];
        const std::string key(fields[field].key);
        if (!isInput(fields[field]))
            file.fail(c,
                      shown(key) + " is a result, not an input; the inputs are " + inputKeys(calc));
        if (plan.isGiven(field))
            file.fail(c, shown(key) + " is also given as --" + key);
        if (const auto other = otherTurbineTemp(calc, field);
            other &&
            (plan.isGiven(*other) ||
             std::any_of(header.columns.begin(), header.columns.end(), [&](const ColumnUse& u) {
                 return u.what != ColumnUse::What::Carried && u.field == *other;
             })))
            file.fail(c, bothTurbineTemps(""));
        using W = ColumnUse::What;
        const auto kind = fields[field].kind;
        if (kind == Kind::Units) {
            if (plan.unitGiven)
                file.fail(c, "\"units\" is also given as --units");
            header.unitColumn = c;
        }
        header.columns.push_back({kind == Kind::Number  ? W::Number
                                  : kind == Kind::Units ? W::Units
                                                        : W::Choice,
                                  field, calc.slot(field)});
    }
    std::vector<bool> present(fields.size(), false);
    for (const auto& u : header.columns)
        if (u.what != ColumnUse::What::Carried)
            present[u.field] = true;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].required && !plan.isGiven(i) && !present[i])
            throw BadInput(source + ": no column \"" + std::string(fields[i].key) + "\" and no --" +
                           std::string(fields[i].key) + "; it is required");
    return header;
}

} // namespace

void runBatch(std::string_view calcName, Calculation& given, const Plan& plan, std::istream& in,
              std::string_view source, Sink& sink, std::ostream& err,
              const compmap::ImportSettings& mapSettings) {
    try {
        std::vector<std::string_view> keys;
        for (const auto& f : given.fields())
            keys.push_back(f.key);
        // Columns that are not inputs are carried through to the output.
        csv::FieldFileReader file(in, keys, csv::UnknownColumns::Carry);
        const Header header = readHeader(given, plan, file, std::string(source));
        // A "map" column puts each row's point on its map: the calculation gains the map's
        // fields, after its own, so the column indexes found above still hold.
        std::optional<std::size_t> mapColumn, efficiencyColumn;
        for (const auto& carried : header.carried) {
            if (csv::sameIgnoringCase(carried.name, "map"))
                mapColumn = carried.index;
            if (csv::sameIgnoringCase(carried.name, compmap::kEfficiencyFromMapColumn))
                efficiencyColumn = carried.index;
        }
        auto* mapped = dynamic_cast<MappedCalculation*>(&given);
        std::optional<MappedCalculation> added;
        if ((mapColumn || efficiencyColumn) && !mapped && given.runsCycle())
            mapped = &added.emplace(given);
        Calculation& calc = mapped ? *mapped : given;
        // --map's map, for the rows that name none.
        const compmap::CompressorMap* const commonMap = mapped ? mapped->map() : nullptr;
        MapLibrary maps(mapSettings);
        const auto folder = std::filesystem::path(source).parent_path();
        const auto fields = calc.fields();
        PointWriter writer(sink, plan.format, calc, outputColumns(calc, plan, header.carried),
                           plan.digits, TableLayout::Rows);
        // The map's columns are the calculation's own once it is on a map.
        const auto readHere = [&](std::size_t index) {
            return mapped && ((mapColumn && index == *mapColumn) ||
                              (efficiencyColumn && index == *efficiencyColumn));
        };
        if (std::ranges::any_of(header.carried,
                                [&](const auto& c) { return !readHere(c.index); })) {
            std::vector<std::string> names;
            for (const auto& c : header.carried)
                if (!readHere(c.index))
                    names.push_back(bare(c.name));
            err << kProgram << ": carried through unchanged, not inputs of " << calcName << ": "
                << joined(names) << '\n';
        }
        writer.begin();

        const std::size_t columns = header.columns.size();
        while (file.next()) {
            const auto row = file.row();
            auto where = [&](std::size_t c) {
                return csv::located(source, file.line(), c + 1) + " (" +
                       std::string(fields[header.columns[c].field].key) + ")";
            };
            int unitIndex = plan.unitIndex;
            if (header.unitColumn)
                unitIndex = unitIndexFromText(csv::trimmed(row[*header.unitColumn]),
                                              where(*header.unitColumn));
            startPoint(calc, plan, unitIndex);
            if (mapColumn && mapped) {
                const std::string_view name = csv::trimmed(row[*mapColumn]);
                mapped->useMap(
                    name.empty()
                        ? commonMap
                        : &maps.load(folder / std::filesystem::path(name),
                                     csv::located(source, file.line(), *mapColumn + 1) + " (map)"));
            }
            if (efficiencyColumn && mapped) {
                const auto here = csv::located(source, file.line(), *efficiencyColumn + 1) + " (" +
                                  std::string(compmap::kEfficiencyFromMapColumn) + ")";
                const auto wanted = compmap::efficiencyFromMapWord(row[*efficiencyColumn]);
                if (!wanted)
                    throw BadInput(here + ": " + shown(row[*efficiencyColumn]) +
                                   " is neither \"yes\" nor \"no\"");
                if (*wanted && !mapped->map())
                    throw BadInput(here + ": the efficiency is to come from the map, but the "
                                          "row has no map");
                if (!calc.takeEfficiencyFrom(*wanted ? mapped->map() : nullptr) && *wanted)
                    throw BadInput(here + ": " + std::string(calcName) +
                                   " has no efficiency to take from the map");
            }
            for (std::size_t c = 0; c < columns; ++c) {
                const auto& use = header.columns[c];
                if (use.what == ColumnUse::What::Number) {
                    const auto value = fields::parseFloat(row[c]);
                    if (!value)
                        throw BadInput(where(c) + ": " + numberProblem(row[c]));
                    *use.target = *value;
                } else if (use.what == ColumnUse::What::Choice) {
                    calc.setChoice(use.field, choiceFromText(fields[use.field],
                                                             csv::trimmed(row[c]), where(c)));
                }
            }
            // [range check] A row outside the physical range: empty figures, the reason apart.
            const auto refused = computeInRange(calc);
            if (refused)
                err << kProgram << ": " << csv::located(source, file.line(), 0) << ": " << *refused
                    << "; no figures for this row\n";
            writer.point(row, refused.has_value());
        }
    } catch (const csv::FieldFileError& e) {
        if (e.line() == 0) {
            if (in.bad())
                throw BadInput(std::string(source) + ": reading failed: " + std::strerror(errno));
            throw BadInput(std::string(source) + ": " + e.what() + " (" + inputKeys(given) + ")");
        }
        throw BadInput(csv::located(source, e.line(), e.column()) + ": " + e.what());
    }
}

} // namespace cli
