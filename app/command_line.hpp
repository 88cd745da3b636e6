#pragma once
// The designer's own command line: --help and --version, answered before any window system is
// touched; --sheet and --curves, which write what the Design Explorer would without a window; and
// a refusal of anything else that Qt has not taken as one of its own options.

#include <optional>

#include <QString>
#include <QStringList>

namespace command_line {

// What --sheet or --curves asks for. The sweep, plotted results and units are the explorer's
// remembered ones unless given.
struct OutputJob {
    enum Kind { Sheet, Curves } kind = Sheet;
    QString candidates; // the candidates file
    QString output;     // the file to write
    QString sweep;      // KEY=FROM:TO:STEP, or empty
    QString plot;       // result keys separated by commas, or empty
    QString units;      // "forms" or "metric", or empty
};

// The job the command line asks for, if any (after answerBeforeWindows has accepted it).
std::optional<OutputJob> outputJob(int argc, char** argv);

// Answers --help or --version, or refuses an option that is neither ours nor Qt's, and returns the
// exit status; nothing when the windows are to open. Needs no display, so it runs before the
// application object is built.
std::optional<int> answerBeforeWindows(int argc, char** argv);

// Given the arguments Qt left after taking its own (-platform, -style...), returns status 2 with
// a message on standard error for anything the designer does not know, or nothing when all is
// well.
std::optional<int> refuseUnknown(const QStringList& arguments);

} // namespace command_line
