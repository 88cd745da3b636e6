#pragma once
// The checks between reading the command line and running it: every option's value read and
// checked against the others, before anything is computed or written.

#include "options.hpp"
#include "output.hpp"
#include "sweep_option.hpp"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cli {

struct Given {
    std::size_t field;
    float value;
};

struct GivenChoice {
    std::size_t field;
    int index;
};

// What the command line asked for.
struct Plan {
    Format format = Format::Table;
    int unitIndex = -1;
    bool unitGiven = false;
    std::vector<Given> given;
    std::vector<GivenChoice> choices;
    std::vector<Sweep> sweeps;
    std::optional<std::string> input;
    std::vector<std::string> columns; // --columns; empty for every column
    int digits = 0;                   // 0 for the shortest exact text

    bool isGiven(std::size_t field) const;
};

// Throws BadInput for the first value or combination that does not hold.
Plan makePlan(const Arguments& args);

// The output's columns: the carried input columns and then every field, or what --columns names
// among them, in its order.
std::vector<OutColumn> outputColumns(const Calculation& calc, const Plan& plan,
                                     std::vector<OutColumn> carried = {});

// A measured turbine outlet temperature with the inlet temperature it replaces: which to drop.
// `dash` is "--" for options, "" for columns.
std::string bothTurbineTemps(std::string_view dash);
// Whether the field is one of that pair, and which field is the other.
std::optional<std::size_t> otherTurbineTemp(const Calculation& calc, std::size_t field);

// --units and the units column, in any case.
int unitIndexFromText(std::string_view text, const std::string& where);
// A word option or column, in any case.
int choiceFromText(const Field& field, std::string_view text, const std::string& where);

} // namespace cli

namespace cli {

// A new window's values with the given options typed in: the part of a point that stays the same
// for every row.
void startPoint(Calculation& calc, const Plan& plan, int unitIndex);

} // namespace cli
