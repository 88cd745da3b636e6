#pragma once
// The Design Explorer's design sheet and curve data written without a window: the explorer is
// built offscreen on the candidates file, set as the command line asks, and what its exports
// would write goes to the named file.

#include "command_line.hpp"

namespace output_job {

// Needs the application object (offscreen will do). Returns the exit status: 0 when the file is
// written; 1 with a message on standard error when a file cannot be read or written; 2 when an
// option's value is wrong.
int run(const command_line::OutputJob& job);

} // namespace output_job
