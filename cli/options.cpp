#include "options.hpp"

#include "messages.hpp"

#include <array>
#include <cctype>
#include <stdexcept>

namespace cli {

namespace {

constexpr std::array<OptionSpec, 14> kCommon{{
    {"input", "FILE", "Read the points from a CSV file, - for standard input", false,
     Completion::File},
    {"sweep", "NAME=START:STOP:STEP", "Run an input from START to STOP in steps of STEP", true,
     Completion::SweepSpec},
    {"csv", "", "Write CSV: a header row and a row per point"},
    {"json", "", "Write JSON: an object per point, one per line"},
    {"columns", "A,B,...", "Write only these columns, in this order", false,
     Completion::ColumnList},
    {"digits", "N", "Write numbers to N significant digits (1 to 9)"},
    {"map", "FILE",
     "Add where each point sits on this compressor map (a .vxmap file or a digitizer's .csv "
     "export)",
     false, Completion::File, true},
    {"map-flow-unit", "UNIT", "The flow unit of a digitizer's map: lb/min (the default) or kg/s",
     false, Completion::None, true},
    {"map-ref-temp", "K", "The reference temperature of a digitizer's map, kelvin (288)", false,
     Completion::None, true},
    {"map-ref-pressure", "PSI", "The reference pressure of a digitizer's map, psi absolute (14.7)",
     false, Completion::None, true},
    {"template", "FILE.svg",
     "Write the drilling template of the tube, 1:1 in millimetres, to this SVG file", false,
     Completion::File, false, true},
    {"paper", "SIZE", "The template's pages: a4 (the default) or letter", false, Completion::None,
     false, true},
    {"help", "", "Show this help and exit"},
    {"version", "", "Show the version and exit"},
}};

constexpr std::array<OptionSpec, 3> kProgramOptions{{
    {"help", "", "Show this help and exit"},
    {"version", "", "Show the version and exit"},
    {"bash-completion", "", ""},
}};

std::vector<std::string> names(std::span<const OptionSpec> options) {
    std::vector<std::string> out;
    for (const auto& o : options)
        if (!o.help.empty())
            out.push_back("--" + std::string(o.name));
    return out;
}

// The calculations that take an option, for "unknown option --hub-diameter for cycle; it is an
// option of mass-flow, engine".
std::vector<std::string> ownersOf(std::string_view option) {
    std::vector<std::string> owners;
    for (const auto& c : calculations()) {
        const auto calc = c.make();
        for (const auto& name : optionNames(*calc))
            if (name == option)
                owners.emplace_back(c.name);
    }
    return owners;
}

[[noreturn]] void unknownOption(std::string_view typed, const std::vector<std::string>& valid,
                                std::string_view where) {
    std::string message = "unknown option " + bare(typed);
    if (!where.empty())
        message += " for " + std::string(where);
    if (const auto near = closest(typed, valid); !near.empty())
        throw BadInput(message + "; did you mean " + std::string(near) + "?");
    if (const auto owners = ownersOf(typed); !owners.empty())
        throw BadInput(message + "; it is an option of " + joined(owners));
    throw BadInput(message + "; the options are " + joined(valid));
}

std::optional<std::size_t> commonIndex(std::string_view name) {
    for (std::size_t i = 0; i < kCommon.size(); ++i)
        if (kCommon[i].name == name)
            return i;
    return std::nullopt;
}

// "--name" or "--name=value" split in two.
struct Word {
    std::string_view name;
    std::optional<std::string_view> value;
};

Word split(std::string_view arg) {
    arg.remove_prefix(2);
    const auto eq = arg.find('=');
    if (eq == std::string_view::npos)
        return {arg, std::nullopt};
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

void parseProgramLevel(Arguments& args, std::string_view arg) {
    if (arg == "-h")
        arg = "--help";
    if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-')
        unknownOption(arg, names(kProgramOptions), "");
    if (!arg.starts_with("--")) {
        const auto names = calculationNames();
        const auto near = closest(arg, names); // a view into names
        throw BadInput("unknown calculation " + shown(arg) +
                       (near.empty() ? "; choose one of " + joined(names)
                                     : "; did you mean " + std::string(near) + "?"));
    }
    const auto word = split(arg);
    for (const auto& o : kProgramOptions) {
        if (o.name != word.name)
            continue;
        if (word.value)
            throw BadInput("--" + std::string(o.name) + " takes no value");
        args.action = o.name == "help"      ? Arguments::Action::Help
                      : o.name == "version" ? Arguments::Action::Version
                                            : Arguments::Action::Completion;
        return;
    }
    if (!ownersOf("--" + std::string(word.name)).empty())
        throw BadInput("--" + std::string(word.name) + ": name the calculation first, as in '" +
                       std::string(kProgram) + " cycle --p2 15'; the calculations are " +
                       joined(calculationNames()));
    unknownOption("--" + std::string(word.name), names(kProgramOptions), "");
}

} // namespace

std::span<const OptionSpec> commonOptions() {
    return kCommon;
}

std::span<const OptionSpec> programOptions() {
    return kProgramOptions;
}

const std::vector<std::string>& Arguments::values(std::string_view name) const {
    const auto i = commonIndex(name);
    if (!i)
        throw std::logic_error("no option --" + std::string(name));
    return common[*i];
}

bool offers(const Calculation& calc, const OptionSpec& option) {
    return (!option.mapOption || calc.runsCycle()) &&
           (!option.templateOption || calc.tubePlan() != nullptr);
}

std::vector<std::string> calculationNames() {
    std::vector<std::string> out;
    for (const auto& c : calculations())
        out.emplace_back(c.name);
    return out;
}

std::string inputKeys(const Calculation& calc) {
    std::vector<std::string> keys;
    for (const auto& f : calc.fields())
        if (isInput(f))
            keys.emplace_back(f.key);
    return joined(keys);
}

std::vector<std::string> optionNames(const Calculation& calc) {
    std::vector<std::string> out;
    for (const auto& f : calc.fields())
        if (isInput(f))
            out.push_back("--" + std::string(f.key));
    for (const auto& o : kCommon)
        if (!o.help.empty() && offers(calc, o))
            out.push_back("--" + std::string(o.name));
    return out;
}

Arguments parseArguments(int argc, const char* const* argv) {
    Arguments args;
    args.common.resize(kCommon.size());
    int i = 1;
    // Before the calculation: only the program's own options.
    for (; i < argc && !args.info; ++i) {
        const std::string_view arg = argv[i];
        if (const auto* info = findCalculation(arg)) {
            args.info = info;
            args.calc = info->make();
            args.inputs.resize(args.calc->fields().size());
            break;
        }
        parseProgramLevel(args, arg);
        if (args.action != Arguments::Action::Run)
            return args; // whatever follows --help or --version does not matter
    }
    if (!args.info)
        return args;

    const auto fields = args.calc->fields();
    const auto valid = optionNames(*args.calc);
    const std::string calcName(args.info->name);
    for (++i; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "-h")
            arg = "--help";
        if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-' && !std::isdigit(arg[1] & 0xFF) &&
            arg[1] != '.')
            unknownOption(arg, valid, calcName);
        if (!arg.starts_with("--"))
            throw BadInput("unexpected argument " + shown(arg) + "; every value follows its " +
                           "option, as in '--p2 15'");
        const auto word = split(arg);
        const std::string option = "--" + std::string(word.name);
        // Takes the value after '=' or the next argument; a value may start with '-' (a negative
        // number, standard input), never with "--".
        auto takeValue = [&]() -> std::string {
            if (word.value)
                return std::string(*word.value);
            if (i + 1 >= argc || std::string_view(argv[i + 1]).starts_with("--"))
                throw BadInput(option + " needs a value");
            return argv[++i];
        };
        const auto field = findField(fields, word.name);
        if (field && !isInput(fields[*field]))
            throw BadInput(option + " is a result of " + calcName + ", not an input; its inputs " +
                           "are " + inputKeys(*args.calc));
        if (field) {
            if (args.inputs[*field])
                throw BadInput(option + " is given twice");
            args.inputs[*field] = takeValue();
            continue;
        }
        const auto common = commonIndex(word.name);
        if (!common)
            unknownOption(option, valid, calcName);
        const auto& entry = kCommon[*common];
        auto& values = args.common[*common];
        if (!entry.repeatable && !values.empty())
            throw BadInput(option + " is given twice");
        if (entry.valueName.empty()) {
            if (word.value)
                throw BadInput(option + " takes no value");
            values.emplace_back();
        } else {
            values.push_back(takeValue());
        }
    }
    if (args.given("help"))
        args.action = Arguments::Action::Help;
    else if (args.given("version"))
        args.action = Arguments::Action::Version;
    return args;
}

} // namespace cli
