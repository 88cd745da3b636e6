#include "run.hpp"

#include "calculations.hpp"
#include "csv_reader.hpp"
#include "number_text.hpp"
#include "output.hpp"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view kProgram = "vorlaxen-calc";

// Sweeps are kept to sizes a person means: a million points along one input, a hundred million
// rows in all.
constexpr std::size_t kMaxSweepPoints = 1'000'000;
constexpr std::size_t kMaxSweepRows = 100'000'000;

// A refused input: the message says which option, or which line and column.
class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string shown(std::string_view text) {
    std::string q = "\"";
    for (char c : text.substr(0, 40)) {
        const auto u = static_cast<unsigned char>(c);
        q += (u < 0x20 || u >= 0x7f) ? '?' : c; // messages stay plain ASCII
    }
    if (text.size() > 40)
        q += "...";
    return q + "\"";
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) {
        if (!text.empty())
            text += ", ";
        text += item;
    }
    return text;
}

std::string calculationNames() {
    std::vector<std::string> names;
    for (const auto& c : calculations())
        names.emplace_back(c.name);
    return joined(names);
}

std::string inputKeys(const Calculation& calc, std::string_view prefix) {
    std::vector<std::string> keys;
    for (const auto& f : calc.fields())
        if (isInput(f))
            keys.push_back(std::string(prefix) + std::string(f.key));
    return joined(keys);
}

std::string defaultText(const Calculation& calc, std::size_t field) {
    const auto& f = calc.fields()[field];
    if (f.kind == Kind::Units)
        return "none";
    if (f.required)
        return "none; required";
    if (f.key.ends_with("-drill"))
        return "the unit's preset";
    return fields::formatFloat(calc.get(field));
}

std::string numberProblem(std::string_view text) {
    if (text.find(',') != std::string_view::npos)
        return shown(text) + " is not a number (the decimal point is '.')";
    double wide = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (end == text.data() + text.size() && (error == std::errc::result_out_of_range ||
                                             std::abs(wide) > std::numeric_limits<float>::max()))
        return shown(text) + " is too large for a single-precision number";
    return shown(text) + " is not a number";
}

struct Given {
    std::size_t field;
    float value;
};

struct Sweep {
    std::size_t field;
    double start;
    double step;
    std::size_t count;
};

double sweepNumber(std::string_view text, const std::string& sweepText) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size() || error != std::errc{} ||
        !std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
        throw BadInput("--sweep " + sweepText + ": " + shown(text) + " is not a number");
    return value;
}

Sweep parseSweep(const Calculation& calc, const std::string& sweepText) {
    const auto eq = sweepText.find('=');
    if (eq == std::string::npos)
        throw BadInput("--sweep " + shown(sweepText) + ": expected NAME=START:STOP:STEP");
    const std::string_view name(sweepText.data(), eq);
    const auto field = findField(calc.fields(), name);
    if (!field || !isInput(calc.fields()[*field]) || calc.fields()[*field].kind != Kind::Number)
        throw BadInput("--sweep " + sweepText + ": " + shown(name) +
                       " is not a number input; choose one of " + inputKeys(calc, ""));
    std::string_view range(sweepText.data() + eq + 1, sweepText.size() - eq - 1);
    std::string_view parts[3];
    for (int i = 0; i < 3; ++i) {
        const auto colon = i < 2 ? range.find(':') : std::string_view::npos;
        if (i < 2 && colon == std::string_view::npos)
            throw BadInput("--sweep " + sweepText + ": expected NAME=START:STOP:STEP");
        parts[i] = range.substr(0, colon);
        range = i < 2 ? range.substr(colon + 1) : std::string_view{};
    }
    const double start = sweepNumber(parts[0], sweepText);
    const double stop = sweepNumber(parts[1], sweepText);
    const double step = sweepNumber(parts[2], sweepText);
    if (step == 0)
        throw BadInput("--sweep " + sweepText + ": the step is 0");
    const double span = (stop - start) / step;
    if (span < 0)
        throw BadInput("--sweep " + sweepText + ": the step goes away from the stop");
    // A stop within a billionth of a step of the grid counts as reached, so 0:1:0.1 has 11 points.
    const double last = std::floor(span + 1e-9);
    if (last + 1 > static_cast<double>(kMaxSweepPoints))
        throw BadInput("--sweep " + sweepText + ": more than " + std::to_string(kMaxSweepPoints) +
                       " points");
    return {*field, start, step, static_cast<std::size_t>(last) + 1};
}

// What the command line asked for.
struct Plan {
    Format format = Format::Table;
    int unitIndex = -1;
    bool unitGiven = false;
    std::vector<Given> given;
    std::vector<Sweep> sweeps;
    std::optional<std::string> input;
};

// The parts of a point that stay the same for every row.
void startPoint(Calculation& calc, const Plan& plan, int unitIndex) {
    calc.start(unitIndex);
    for (const auto& g : plan.given)
        calc.set(g.field, g.value);
}

void runSingle(Calculation& calc, const Plan& plan, PointWriter& writer) {
    startPoint(calc, plan, plan.unitIndex);
    calc.compute();
    writer.point();
}

void runSweeps(Calculation& calc, const Plan& plan, PointWriter& writer) {
    std::vector<std::size_t> index(plan.sweeps.size(), 0);
    for (;;) {
        startPoint(calc, plan, plan.unitIndex);
        for (std::size_t s = 0; s < plan.sweeps.size(); ++s) {
            const auto& sw = plan.sweeps[s];
            calc.set(sw.field,
                     static_cast<float>(sw.start + static_cast<double>(index[s]) * sw.step));
        }
        calc.compute();
        writer.point();
        // The last sweep moves fastest.
        std::size_t s = plan.sweeps.size();
        while (s > 0 && ++index[s - 1] == plan.sweeps[s - 1].count)
            index[--s] = 0;
        if (s == 0)
            return;
    }
}

void runBatch(Calculation& calc, const Plan& plan, std::istream& in, std::string_view source,
              PointWriter& writer) {
    const auto fields = calc.fields();
    auto where = [&](std::size_t line) {
        return std::string(source) + ", line " + std::to_string(line);
    };

    csv::CsvReader reader(in);
    try {
        if (!reader.next())
            throw BadInput(std::string(source) +
                           ": empty input; the first line must name the columns (" +
                           inputKeys(calc, "") + ")");
        std::vector<std::size_t> columns; // the field of each column
        std::vector<bool> seen(fields.size(), false);
        std::optional<std::size_t> unitColumn;
        const auto header = reader.fields();
        for (std::size_t c = 0; c < header.size(); ++c) {
            std::string_view name = header[c];
            while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
                name.remove_prefix(1);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
                name.remove_suffix(1);
            const auto column = where(reader.line()) + ", column " + std::to_string(c + 1);
            const auto field = findField(fields, name);
            if (!field)
                throw BadInput(column + ": unknown column " + shown(name) + "; the inputs of " +
                               "this calculation are " + inputKeys(calc, ""));
            if (!isInput(fields[*field]))
                throw BadInput(column + ": " + shown(name) + " is a result, not an input; the " +
                               "inputs are " + inputKeys(calc, ""));
            if (seen[*field])
                throw BadInput(column + ": column " + shown(name) + " appears twice");
            for (const auto& g : plan.given)
                if (g.field == *field)
                    throw BadInput(column + ": " + shown(name) + " is also given as --" +
                                   std::string(name));
            if (fields[*field].kind == Kind::Units) {
                if (plan.unitGiven)
                    throw BadInput(column + ": \"units\" is also given as --units");
                unitColumn = c;
            }
            seen[*field] = true;
            columns.push_back(*field);
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i].required || seen[i])
                continue;
            bool given = false;
            for (const auto& g : plan.given)
                given = given || g.field == i;
            if (!given)
                throw BadInput(std::string(source) + ": no column \"" + std::string(fields[i].key) +
                               "\" and no --" + std::string(fields[i].key) + "; it is required");
        }

        while (reader.next()) {
            const auto row = reader.fields();
            if (row.size() != columns.size())
                throw BadInput(where(reader.line()) + ": " + std::to_string(row.size()) +
                               (row.size() == 1 ? " field" : " fields") + " where the header has " +
                               std::to_string(columns.size()));
            int unitIndex = plan.unitIndex;
            if (unitColumn) {
                const auto unit = unitFromKey(row[*unitColumn]);
                if (!unit)
                    throw BadInput(where(reader.line()) + ", column " +
                                   std::to_string(*unitColumn + 1) +
                                   " (units): " + shown(row[*unitColumn]) +
                                   " is not a unit; choose in, mm, cm or none");
                unitIndex = *unit;
            }
            startPoint(calc, plan, unitIndex);
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (unitColumn && c == *unitColumn)
                    continue;
                const auto value = fields::parseFloat(row[c]);
                if (!value)
                    throw BadInput(where(reader.line()) + ", column " + std::to_string(c + 1) +
                                   " (" + std::string(fields[columns[c]].key) +
                                   "): " + numberProblem(row[c]));
                calc.set(columns[c], *value);
            }
            calc.compute();
            writer.point();
        }
    } catch (const csv::CsvError& e) {
        throw BadInput(where(e.line()) + ": " + e.what());
    }
}

struct Command {
    const CalculationInfo* info = nullptr;
    std::unique_ptr<Calculation> calc;
    CLI::App* app = nullptr;
    std::vector<std::string> values;   // per field
    std::vector<CLI::Option*> options; // per field, null for results
};

std::string sweepHelp() {
    return "Batches:\n"
           "  --input FILE reads a CSV file (\"-\" for standard input) whose first line names\n"
           "  inputs in any order; a missing column takes the option or the default, and every\n"
           "  row gives one point. --sweep NAME=START:STOP:STEP gives the points START + i*STEP\n"
           "  (computed in double precision, stored as single) for i = 0, 1, ... while they do\n"
           "  not pass STOP; a STOP within a billionth of a step counts as reached. Several\n"
           "  --sweep options give every combination, the first changing slowest.\n"
           "Numbers are read as the window reads a box ('.' for the decimal point). Exit status:\n"
           "  0 done, 2 bad option or input, 1 output could not be written.";
}

} // namespace

int run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err) {
    CLI::App app{"Figures of the Vorlaxen Designer windows from the command line: max-rpm, "
                 "mass-flow, cycle, flame-tube, convert.",
                 std::string(kProgram)};
    app.footer("Run '" + std::string(kProgram) + " CALCULATION --help' for its options.");

    bool csv = false;
    bool json = false;
    std::vector<std::string> sweeps;
    std::string input;

    std::vector<Command> commands(calculations().size());
    for (std::size_t k = 0; k < commands.size(); ++k) {
        auto& cmd = commands[k];
        cmd.info = &calculations()[k];
        cmd.calc = cmd.info->make();
        cmd.app = app.add_subcommand(std::string(cmd.info->name), std::string(cmd.info->summary));
        const auto fields = cmd.calc->fields();
        cmd.values.resize(fields.size());
        cmd.options.resize(fields.size(), nullptr);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const auto& f = fields[i];
            if (!isInput(f))
                continue;
            std::string description;
            if (f.kind == Kind::Units) {
                description = "Unit system: in, mm, cm or none (drills default to its presets; "
                              "default none)";
            } else {
                std::string_view label = f.label.empty() ? f.unit : f.label;
                if (label.ends_with(':'))
                    label.remove_suffix(1);
                description = std::string(label);
                if (f.frame == "Drill Hole Diameters")
                    description += " drill hole diameter";
                else if (f.key == "conv-cm")
                    description = "Centimetres";
                else if (f.key == "conv-inches")
                    description = "Inches";
                else if (!f.unit.empty())
                    description += ", " + std::string(f.unit);
                description += " (default " + defaultText(*cmd.calc, i) + ")";
            }
            cmd.options[i] =
                cmd.app->add_option("--" + std::string(f.key), cmd.values[i], description);
            cmd.options[i]->type_name(f.kind == Kind::Units ? "UNITS" : "NUMBER");
        }
        cmd.app->add_option("--sweep", sweeps, "Run NAME from START to STOP in steps of STEP")
            ->type_name("NAME=START:STOP:STEP")
            ->expected(1)
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        cmd.app
            ->add_option("--input", input, "Read the points from a CSV file, - for standard input")
            ->type_name("FILE");
        cmd.app->add_flag("--csv", csv, "Write CSV: a header row and a row per point");
        cmd.app->add_flag("--json", json, "Write JSON: an object per point, one per line");
        cmd.app->footer(sweepHelp());
    }

    Command* chosen = nullptr;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        app.exit(e, out, err);
        return kExitOk;
    } catch (const CLI::CallForAllHelp& e) {
        app.exit(e, out, err);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << kProgram << ": " << e.what() << '\n';
        for (auto& cmd : commands)
            if (app.got_subcommand(cmd.app))
                chosen = &cmd;
        if (chosen)
            err << "The options of " << chosen->info->name << " are "
                << inputKeys(*chosen->calc, "--")
                << ", --sweep, --input, --csv, --json and --help.\n";
        else
            err << "Choose a calculation: " << calculationNames() << ".\n";
        return kExitBadInput;
    }
    for (auto& cmd : commands)
        if (app.got_subcommand(cmd.app))
            chosen = &cmd;
    if (!chosen) {
        err << kProgram << ": choose a calculation: " << calculationNames() << ".\nRun '"
            << kProgram << " --help' for more.\n";
        return kExitBadInput;
    }

    Calculation& calc = *chosen->calc;
    const auto fields = calc.fields();
    Sink sink(out);
    try {
        Plan plan;
        if (csv && json)
            throw BadInput("--csv and --json exclude each other; choose one");
        plan.format = csv ? Format::Csv : json ? Format::Json : Format::Table;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!chosen->options[i] || chosen->options[i]->count() == 0)
                continue;
            const std::string option = "--" + std::string(fields[i].key);
            const auto& text = chosen->values[i];
            if (fields[i].kind == Kind::Units) {
                const auto unit = unitFromKey(text);
                if (!unit)
                    throw BadInput(option + ": " + shown(text) +
                                   " is not a unit; choose in, mm, cm or none");
                plan.unitIndex = *unit;
                plan.unitGiven = true;
                continue;
            }
            const auto value = fields::parseFloat(text);
            if (!value)
                throw BadInput(option + ": " + numberProblem(text));
            plan.given.push_back({i, *value});
        }
        std::size_t rows = 1;
        for (const auto& sweepText : sweeps) {
            const Sweep sweep = parseSweep(calc, sweepText);
            const std::string name(fields[sweep.field].key);
            for (const auto& g : plan.given)
                if (g.field == sweep.field)
                    throw BadInput("--sweep " + sweepText + ": --" + name + " is also given");
            for (const auto& s : plan.sweeps)
                if (s.field == sweep.field)
                    throw BadInput("--sweep " + sweepText + ": " + name + " is swept twice");
            rows *= sweep.count;
            if (rows > kMaxSweepRows)
                throw BadInput("--sweep: more than " + std::to_string(kMaxSweepRows) +
                               " points in all");
            plan.sweeps.push_back(sweep);
        }
        if (chosen->app->get_option("--input")->count() > 0) {
            if (!plan.sweeps.empty())
                throw BadInput("--input and --sweep exclude each other; choose one");
            plan.input = input;
        }
        if (!plan.input) {
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (!fields[i].required)
                    continue;
                bool present = false;
                for (const auto& g : plan.given)
                    present = present || g.field == i;
                for (const auto& s : plan.sweeps)
                    present = present || s.field == i;
                if (!present)
                    throw BadInput(std::string(chosen->info->name) + ": --" +
                                   std::string(fields[i].key) + " is required");
            }
        }

        PointWriter writer(sink, plan.format, calc);
        if (plan.input) {
            std::ifstream file;
            std::istream* source = &in;
            std::string name = "standard input";
            if (*plan.input != "-") {
                std::error_code ec;
                if (std::filesystem::is_directory(*plan.input, ec))
                    throw BadInput("--input: " + shown(*plan.input) + " is a directory");
                file.open(*plan.input, std::ios::binary);
                if (!file)
                    throw BadInput("--input: cannot open " + shown(*plan.input) + ": " +
                                   std::strerror(errno));
                source = &file;
                name = *plan.input;
            }
            writer.begin();
            runBatch(calc, plan, *source, name, writer);
            if (source->bad())
                throw BadInput("--input: reading " + name + " failed");
        } else {
            writer.begin();
            if (plan.sweeps.empty())
                runSingle(calc, plan, writer);
            else
                runSweeps(calc, plan, writer);
        }
    } catch (const BadInput& e) {
        sink.flush(); // the points before the bad one stand
        err << kProgram << ": " << e.what() << '\n';
        return kExitBadInput;
    } catch (const OutputFailed& e) {
        err << kProgram << ": " << e.what() << '\n';
        return kExitWriteFailed;
    }
    if (!sink.flush()) {
        err << kProgram << ": " << OutputFailed().what() << '\n';
        return kExitWriteFailed;
    }
    return kExitOk;
}

} // namespace cli
