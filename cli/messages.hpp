#pragma once
// How vorlaxen-calc words a refusal: the option, or the line and column, and what is wrong; a
// text typed is shown by the program's one rule for quoting.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

inline constexpr std::string_view kProgram = "vorlaxen-calc";

// A refused option or input; exit status 2.
class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text in quotes, cut to 40 characters, control characters and bytes that are not UTF-8
// shown as '?'.
std::string shown(std::string_view text);

// The same without the quotes, for names such as an option typed.
std::string bare(std::string_view text);

// "a, b, c"
std::string joined(std::span<const std::string> items);

// Why a value is not a number, in the program's one wording.
std::string numberProblem(std::string_view text);

// The candidate nearest to a mistyped name, if it is near enough to be what was meant.
std::string_view closest(std::string_view typed, std::span<const std::string> candidates);

} // namespace cli
