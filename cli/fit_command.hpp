#pragma once
// vorlaxen-calc fit: a candidate engine, given by the options of `engine`, fitted to a run log.

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

inline constexpr std::string_view kFitCommand = "fit";

// Runs `vorlaxen-calc fit ...`; argv[1] is "fit". Returns the exit status.
int runFit(int argc, const char* const* argv, std::istream& in, std::ostream& out,
           std::ostream& err);

std::string fitHelp();

} // namespace cli
