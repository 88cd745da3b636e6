#pragma once
// vorlaxen-calc as a function, so that tests can run it in-process.

#include <istream>
#include <ostream>

namespace cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitBadInput = 2;

// Runs the command line argv[0..argc). "--input -" reads `in`; results go to `out`, messages to
// `err`. Returns the exit status.
int run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace cli
