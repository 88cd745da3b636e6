#pragma once
// The command line's words: the calculations, each one's inputs as options, and the options every
// calculation takes. Parsing, help, messages and the shell completion all read the one table
// below, so a new option is one line there plus the code that acts on it.

#include "calculations.hpp"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// What the shell offers after an option.
enum class Completion { None, File, SweepSpec, ColumnList };

struct OptionSpec {
    std::string_view name;      // without the leading "--"
    std::string_view valueName; // "" for a flag
    std::string_view help;
    bool repeatable = false;
    Completion completion = Completion::None;
    bool mapOption = false;      // only for the calculations that run the cycle
    bool templateOption = false; // only for the flame tube, which draws a template
};

// Whether the calculation takes the option.
bool offers(const Calculation& calc, const OptionSpec& option);

// The options of every calculation, besides its inputs, in the order help shows them.
std::span<const OptionSpec> commonOptions();

// Options that stand without a calculation (--help, --version). --bash-completion is left out of
// help on purpose: it is for the build.
std::span<const OptionSpec> programOptions();

// The command line as read: which calculation, the text of each input option, and the values of
// the common options. Values are still text; what they mean is checked later.
struct Arguments {
    enum class Action { Run, Help, Version, Completion };
    Action action = Action::Run;
    const CalculationInfo* info = nullptr; // null for the program's own --help and --version
    std::unique_ptr<Calculation> calc;
    std::vector<std::optional<std::string>> inputs; // per field of calc
    std::vector<std::vector<std::string>> common;   // per entry of commonOptions()

    // The values given for a common option, by name (a name not in the table is a bug).
    const std::vector<std::string>& values(std::string_view name) const;
    bool given(std::string_view name) const { return !values(name).empty(); }
};

// Reads argv; throws BadInput for an unknown calculation or option, a repeated option, a missing
// or unexpected value.
Arguments parseArguments(int argc, const char* const* argv);

// "--mass-flow, --p2, ..., --help": every option of one calculation, for messages and completion.
std::vector<std::string> optionNames(const Calculation& calc);

std::vector<std::string> calculationNames();

// The keys of a calculation's inputs ("mass-flow, p2, ...") for messages.
std::string inputKeys(const Calculation& calc);

} // namespace cli
