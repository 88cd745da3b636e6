#pragma once
// What vorlaxen-calc says about itself: --help (in the shape help2man reads: a usage line, then
// options with their descriptions), --version, and the bash completion script. All of it comes
// from the option table and the calculations' fields.

#include "calculations.hpp"

#include <string>

namespace cli {

std::string programHelp();
std::string calculationHelp(const CalculationInfo& info, const Calculation& calc);
std::string versionText();
std::string bashCompletion();

} // namespace cli
