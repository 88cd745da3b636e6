#pragma once
// Why a file was refused, said the same way for every kind of file the program reads.

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// Where a problem is, as every message names it: "FILE, line L, column C" (a 0 is left out).
std::string located(std::string_view file, std::size_t line, std::size_t column);

// line and column count from 1, 0 where they do not apply (the file could not be opened, or the
// problem is not at one place). What a column counts (a character, a field) is the format's.
struct FileProblem {
    std::string file;
    std::size_t line = 0;
    std::size_t column = 0;
    std::string message;

    // "FILE, line L, column C: MESSAGE", leaving out what does not apply.
    std::string text() const;
};

} // namespace text
