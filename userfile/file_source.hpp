#pragma once
// Which files a reader takes (see userfile::readWhole).

namespace userfile {

// FileOnly, for what a window opens or another file names: only a regular file, opened without
// waiting (a FIFO with no writer would block the open for ever). AlsoPipes, for what the user
// names on the command line: pipes and devices too (`<(...)`, /dev/stdin), read as they come.
enum class Source { FileOnly, AlsoPipes };

} // namespace userfile
