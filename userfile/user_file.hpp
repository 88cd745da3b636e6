#pragma once
// The one way a user's file is written (candidates, exports): a temporary file beside the target
// is written, synced and renamed over it, and the folder synced after, so that a crash or a full
// disk never leaves a half-written file and the old one stays as it was on any failure.
//
// A file the user may not write is refused, though the rename would need only the folder's
// permission; a symbolic link is written through to the file it ends at, created when the link is
// broken. Temporary files that a killed save left are removed when the file is next opened or
// saved.

#include "file_source.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace userfile {

// Replaces (or creates) the file with data. Returns why not, ending with the system's reason
// ("cannot write it: Permission denied"); nothing is changed then.
std::optional<std::string> write(const std::filesystem::path& file, std::string_view data);

// The file a chain of symbolic links ends at, whether or not it exists; the file itself when it
// is none. Returns why not for a loop of links.
std::optional<std::string> resolveLinks(const std::filesystem::path& file,
                                        std::filesystem::path& target);

// Removes the temporary files that saves of this file by processes no longer running left
// behind. Returns how many.
int removeLeftovers(const std::filesystem::path& file);

// Reads a whole file, at most maxBytes of it. Returns why not otherwise, without the file's name
// ("is a folder, not a file").
// Only a regular file unless `source` allows pipes and devices.
struct ReadOutcome {
    std::string data;
    std::optional<std::string> error;
};
ReadOutcome readWhole(const std::filesystem::path& file, std::size_t maxBytes,
                      Source source = Source::FileOnly);

// How a size is said in a reason: "64 MB".
std::string sizeText(std::size_t bytes);

// What tells a file changed on disk: its identity, size and time of change.
struct Stamp {
    bool exists = false;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t seconds = 0, nanoseconds = 0;
    bool operator==(const Stamp&) const = default;
};
Stamp stampOf(const std::filesystem::path& file);

} // namespace userfile
