#pragma once
// The designer's own command line: --help and --version, answered before any window system is
// touched, and a refusal of anything else that Qt has not taken as one of its own options.

#include <optional>

#include <QStringList>

namespace command_line {

// Answers --help or --version, or refuses an option that is neither ours nor Qt's, and returns the
// exit status; nothing when the windows are to open. Needs no display, so it runs before the
// application object is built.
std::optional<int> answerBeforeWindows(int argc, char** argv);

// Given the arguments Qt left after taking its own (-platform, -style...), returns status 2 with
// a message on standard error for anything the designer does not know, or nothing when all is
// well.
std::optional<int> refuseUnknown(const QStringList& arguments);

} // namespace command_line
