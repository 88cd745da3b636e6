#include "help.hpp"

#include "operating.hpp"

#include "fit.hpp"
#include "fit_command.hpp"
#include "messages.hpp"
#include "number_text.hpp"
#include "options.hpp"
#include "running_line_command.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#ifndef VX_VERSION
#error "VX_VERSION comes from the project's version in CMake"
#endif

namespace cli {

namespace {

using Row = std::pair<std::string, std::string>; // option with its value name, description

// Options in two columns, descriptions lined up, as help2man expects them.
std::string table(const std::vector<Row>& rows) {
    std::size_t width = 0;
    for (const auto& [left, right] : rows)
        width = std::max(width, left.size());
    std::string text;
    for (const auto& [left, right] : rows) {
        text += "  " + left;
        if (!right.empty())
            text += std::string(width - left.size() + 2, ' ') + right;
        text += '\n';
    }
    return text;
}

Row optionRow(const OptionSpec& o) {
    std::string left = "--" + std::string(o.name);
    if (!o.valueName.empty())
        left += " " + std::string(o.valueName);
    return {left, std::string(o.help)};
}

std::string defaultText(const Calculation& calc, std::size_t field) {
    const auto& f = calc.fields()[field];
    if (f.required)
        return "none; required";
    if (f.key.ends_with("-drill"))
        return "the unit's preset";
    if (f.key == fields::kOutletGiven.first)
        return "none";
    // An input worked out from others unless typed shows the value it has when nothing decides it.
    const float value = calc.get(field);
    return fields::formatFloat(turbo::isNotGiven(value) ? f.defaultValue : value);
}

std::string inputDescription(const Calculation& calc, std::size_t i) {
    const auto& f = calc.fields()[i];
    if (f.kind == Kind::Units)
        return fields::describe(f) + " (default none)";
    if (f.kind == Kind::Choice) {
        std::string words;
        for (std::size_t c = 0; c < f.choices.size(); ++c)
            words += (c == 0                      ? ""
                      : c + 1 == f.choices.size() ? " or "
                                                  : ", ") +
                     std::string(f.choices[c]);
        return fields::describe(f) + ": " + words + " (default " + std::string(f.choices[0]) + ")";
    }
    return fields::describe(f) + " (default " + defaultText(calc, i) + ")";
}

std::vector<Row> inputRows(const Calculation& calc) {
    std::vector<Row> rows;
    const auto fields = calc.fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (isInput(fields[i]))
            rows.push_back({"--" + std::string(fields[i].key) +
                                (fields[i].kind == Kind::Units    ? " UNITS"
                                 : fields[i].kind == Kind::Choice ? " WORD"
                                                                  : " NUMBER"),
                            inputDescription(calc, i)});
    return rows;
}

const char* const kBatches =
    "Batches:\n"
    "  An input file (--input) is CSV whose first line names columns in any order and\n"
    "  any case, separated by ',' or ';'. A missing input takes its option or the\n"
    "  default; every row gives one point. Columns that are not inputs of the\n"
    "  calculation are carried through unchanged, ahead of its own columns, and named\n"
    "  once on standard error.\n"
    "  A sweep (--sweep NAME=START:STOP:STEP) gives the points START + i*STEP (computed\n"
    "  in double precision, stored as single) for i = 0, 1, ... while they do not pass\n"
    "  STOP; a STOP within a billionth of a step counts as reached. Several sweeps give\n"
    "  every combination, the first changing slowest.\n"
    "\n"
    "Output:\n"
    "  One point is a table like the window's form; a batch or sweep is a table with a\n"
    "  row per point. In CSV and JSON numbers are the shortest text that reads back to\n"
    "  the same float (or N digits with --digits); in JSON a value that is not finite\n"
    "  is null.\n"
    "\n"
    "Numbers are read as the window reads a box ('.' for the decimal point).\n"
    "\n"
    "Exit status:\n"
    "  0 done, 2 bad option or input, 1 output could not be written.\n";

} // namespace

std::string versionText() {
    return std::string(kProgram) + " " VX_VERSION "\n";
}

std::string programHelp() {
    std::string text = "Usage: " + std::string(kProgram) + " CALCULATION [OPTION]...\n";
    text += "  or:  " + std::string(kProgram) + " --help | --version\n";
    text += "Figures of the Vorlaxen Designer windows from the command line, for scripts,\n"
            "spreadsheets of candidate turbochargers and sweeps.\n\n";
    text += "Calculations:\n";
    std::vector<Row> rows;
    for (const auto& c : calculations())
        rows.push_back({std::string(c.name), std::string(c.summary)});
    rows.push_back(
        {std::string(kFitCommand), "An engine's assumptions fitted to a run log (fit --help)"});
    rows.push_back(
        {std::string(kRunningLineCommand),
         "Where the engine runs with its turbine and nozzle fixed (running-line --help)"});
    text += table(rows);
    text += "\nOptions:\n";
    rows.clear();
    for (const auto& o : programOptions())
        if (!o.help.empty())
            rows.push_back(optionRow(o));
    text += table(rows);
    text += "\nOptions of every calculation:\n";
    rows.clear();
    for (const auto& o : commonOptions())
        if (!o.mapOption && !o.templateOption)
            rows.push_back(optionRow(o));
    text += table(rows);
    text += "\nOptions of cycle and engine, for a compressor map (K = deg. C + 273, as in the "
            "cycle):\n";
    rows.clear();
    for (const auto& o : commonOptions())
        if (o.mapOption)
            rows.push_back(optionRow(o));
    text += table(rows);
    text += "\nOptions of flame-tube, for its drilling template:\n";
    rows.clear();
    for (const auto& o : commonOptions())
        if (o.templateOption)
            rows.push_back(optionRow(o));
    text += table(rows);
    for (const auto& c : calculations()) {
        const auto calc = c.make();
        text += "\nInputs of " + std::string(c.name) + ":\n" + table(inputRows(*calc));
    }
    text += "\n";
    text += kBatches;
    text += "\nRun '" + std::string(kProgram) + " CALCULATION --help' for one calculation.\n";
    return text;
}

std::string calculationHelp(const CalculationInfo& info, const Calculation& calc) {
    std::string text =
        "Usage: " + std::string(kProgram) + " " + std::string(info.name) + " [OPTION]...\n";
    text += std::string(info.summary) + ".\n\nInputs:\n" + table(inputRows(calc));
    text += "\nOptions:\n";
    std::vector<Row> rows;
    for (const auto& o : commonOptions())
        if (offers(calc, o))
            rows.push_back(optionRow(o));
    text += table(rows);
    text += "\n";
    text += kBatches;
    return text;
}

// The script looks at the words typed so far: before a calculation it offers the calculations;
// after one, that calculation's options, and after an option what it takes.
std::string bashCompletion() {
    auto words = [](const std::vector<std::string>& list, std::string_view between = " ") {
        std::string text;
        for (const auto& w : list)
            text += (text.empty() ? "" : std::string(between)) + w;
        return text;
    };
    // fit takes the engine's options and its own --fit.
    std::vector<std::string> commands = calculationNames();
    commands.emplace_back(kFitCommand);
    std::vector<std::string> top = commands;
    for (const auto& o : programOptions())
        if (!o.help.empty())
            top.push_back("--" + std::string(o.name));
    std::string s = "# bash completion for " + std::string(kProgram) + ", made by '" +
                    std::string(kProgram) + " --bash-completion'\n";
    s += "_vorlaxen_calc() {\n"
         "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "    local calc= i\n"
         "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "        case ${COMP_WORDS[i]} in\n"
         "        " +
         words(commands, "|") +
         ")\n"
         "            calc=${COMP_WORDS[i]}\n"
         "            break\n"
         "            ;;\n"
         "        esac\n"
         "    done\n"
         "    if [[ -z $calc ]]; then\n"
         "        COMPREPLY=($(compgen -W \"" +
         words(top) +
         "\" -- \"$cur\"))\n"
         "        return\n"
         "    fi\n"
         "    local inputs= columns= options= numbers= fits=\n"
         "    case $calc in\n";
    std::vector<std::string> commonNumbers;
    for (const auto& o : commonOptions())
        if (!o.valueName.empty() && o.completion == Completion::None)
            commonNumbers.push_back("--" + std::string(o.name));
    for (const auto& c : calculations()) {
        const auto calc = c.make();
        const bool engine = c.name == "engine";
        std::vector<std::string> inputs, columns, numbers = commonNumbers;
        for (const auto& f : calc->fields()) {
            columns.emplace_back(f.key);
            if (isInput(f) && f.kind == Kind::Number) {
                inputs.emplace_back(f.key);
                numbers.push_back("--" + std::string(f.key));
            }
        }
        auto options = optionNames(*calc);
        s += "    " + std::string(c.name) + (engine ? "|" + std::string(kFitCommand) : "") + ")\n";
        if (engine)
            options.push_back("--fit");
        s += "        inputs=\"" + words(inputs) + "\"\n";
        s += "        columns=\"" + words(columns) + "\"\n";
        s += "        options=\"" + words(options) + "\"\n";
        if (engine)
            s += "        [[ $calc == " + std::string(kFitCommand) + " ]] && fits=\"" +
                 runs::assumptionKeys() + "\" || options=${options/ --fit/}\n";
        s += "        numbers=\"" + words(numbers) + "\"\n";
        s += "        ;;\n";
    }
    s += "    esac\n"
         "    # A number is typed, not offered; '=' and ':' of a sweep are words of their own.\n"
         "    [[ \" $numbers = : \" == *\" $prev \"* ]] && return\n"
         "    # Words are taken in any case, so they are offered for what is typed in any case.\n"
         "    case $prev in\n"
         "    --fit)\n"
         "        local picked=\n"
         "        [[ $cur == *,* ]] && picked=${cur%,*},\n"
         "        compopt -o nospace\n"
         "        COMPREPLY=($(compgen -P \"$picked\" -W \"${fits//,/}\" -- \"${cur##*,}\"))\n"
         "        return\n"
         "        ;;\n"
         "    --units)\n"
         "        COMPREPLY=($(compgen -W \"in mm cm none\" -- \"${cur,,}\"))\n"
         "        return\n"
         "        ;;\n";
    std::vector<std::string> choiceKeys;
    for (const auto& c : calculations())
        for (const auto& f : c.make()->fields()) {
            if (f.kind != Kind::Choice ||
                std::find(choiceKeys.begin(), choiceKeys.end(), f.key) != choiceKeys.end())
                continue;
            choiceKeys.emplace_back(f.key);
            std::vector<std::string> choices(f.choices.begin(), f.choices.end());
            s += "    --" + std::string(f.key) + ")\n        COMPREPLY=($(compgen -W \"" +
                 words(choices) + "\" -- \"${cur,,}\"))\n        return\n        ;;\n";
        }
    for (const auto& o : commonOptions()) {
        const std::string name = "    --" + std::string(o.name) + ")\n";
        switch (o.completion) {
        case Completion::File:
            s += name + "        compopt -o filenames\n"
                        "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
                        "        return\n"
                        "        ;;\n";
            break;
        case Completion::SweepSpec:
            s += name + "        compopt -o nospace\n"
                        "        COMPREPLY=($(compgen -S = -W \"$inputs\" -- \"$cur\"))\n"
                        "        return\n"
                        "        ;;\n";
            break;
        case Completion::ColumnList:
            s += name + "        local before=\n"
                        "        [[ $cur == *,* ]] && before=${cur%,*},\n"
                        "        compopt -o nospace\n"
                        "        COMPREPLY=($(compgen -P \"$before\" -W \"$columns\" -- "
                        "\"${cur##*,}\"))\n"
                        "        return\n"
                        "        ;;\n";
            break;
        case Completion::None:
            break;
        }
    }
    s += "    esac\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "}\n"
         "complete -F _vorlaxen_calc " +
         std::string(kProgram) + "\n";
    return s;
}

} // namespace cli
