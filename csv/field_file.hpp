#pragma once
// A file of fields: CSV whose first line names the columns and each further line is a point. The
// one reader of such files for the command line and the Design Explorer, so that each opens what
// the other writes. Column names and choice words are matched in any case, blanks around them
// trimmed; ',' or ';' separates as the header does; every problem names its line and column.

#include "csv_reader.hpp"
#include "file_problem.hpp"
#include "text.hpp"

#include <cstddef>
#include <istream>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

// Why the file cannot be read; line and column count from 1, 0 where they do not apply.
class FieldFileError : public std::runtime_error {
public:
    FieldFileError(std::size_t line, std::size_t column, const std::string& what)
        : std::runtime_error(what), line_(line), column_(column) {}
    std::size_t line() const { return line_; }
    std::size_t column() const { return column_; }

private:
    std::size_t line_, column_;
};

// What to do with a column that names none of the known columns.
enum class UnknownColumns { Refuse, Carry };

// A field file trims, compares and places its problems by the program's text rules.
using text::located;
using text::sameIgnoringCase;
using text::trimmed;
// The index of the word (trimmed, in any case) among words.
std::optional<std::size_t> matchWord(std::string_view text,
                                     std::span<const std::string_view> words);

class FieldFileReader {
public:
    // Reads the header. `known` names the columns the caller reads; a column naming one of them
    // in another case is taken as it. Throws FieldFileError for an empty input (line 0), a column
    // without a name, one named twice, and an unknown one unless it is carried.
    FieldFileReader(std::istream& in, std::span<const std::string_view> known,
                    UnknownColumns unknown, std::size_t bufferSize = CsvReader::kBufferSize);

    // Per column, the index into `known` it feeds, or none for a carried column.
    std::span<const std::optional<std::size_t>> columns() const { return columns_; }
    // The names of the carried columns as the header writes them, in their order.
    const std::vector<std::string>& carried() const { return carried_; }
    std::size_t headerLine() const { return headerLine_; }

    // Moves to the next point; false at the end. Throws FieldFileError for a line with another
    // number of fields than the header, or malformed CSV.
    bool next();
    std::span<const std::string_view> row() const { return reader_.fields(); }
    std::size_t line() const { return reader_.line(); }

    // Throws the caller's problem with the current line and the column (counting from 0).
    [[noreturn]] void fail(std::size_t column, const std::string& message) const;

private:
    CsvReader reader_;
    std::vector<std::optional<std::size_t>> columns_;
    std::vector<std::string> carried_;
    std::size_t headerLine_ = 0;
};

// Writes text as one CSV field that the reader reads back exactly: at most 2 * size + 2 bytes
// from out on, returning their end.
char* writeField(char* out, std::string_view text);
void writeField(std::ostream& out, std::string_view text);

} // namespace csv
