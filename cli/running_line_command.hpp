#pragma once
// vorlaxen-calc running-line: where a candidate engine, given by the options of `engine`, runs
// with its turbine and jet nozzle fixed, point by point along P2 or the map's speed.

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

inline constexpr std::string_view kRunningLineCommand = "running-line";

// Runs `vorlaxen-calc running-line ...`; argv[1] is "running-line". Returns the exit status.
int runRunningLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err);

std::string runningLineHelp();

} // namespace cli
