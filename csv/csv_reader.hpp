#pragma once
// A streaming CSV reader: one record at a time from a fixed buffer, so memory stays flat however
// long the input is. Fields may be quoted as RFC 4180 describes ("a,b", "say ""hi""", line
// breaks inside quotes); CRLF, LF and CR line ends, a UTF-8 byte order mark and blank lines are
// accepted.

#include <cstddef>
#include <istream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

// The separator is found from the first record: ';' when it has a ';' and no ',' outside quotes
// (as spreadsheets save CSV where the decimal point is a comma), ',' otherwise.
inline constexpr char kDetectSeparator = '\0';

// Malformed CSV (a quote left open, text after a closing quote, an overlong record).
class CsvError : public std::runtime_error {
public:
    CsvError(std::size_t line, const std::string& what) : std::runtime_error(what), line_(line) {}
    std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

class CsvReader {
public:
    // A record may grow to maxRecord bytes; the buffer starts smaller and grows only for such.
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    static constexpr std::size_t kMaxRecord = std::size_t{16} << 20;
    explicit CsvReader(std::istream& in, std::size_t bufferSize = kBufferSize,
                       std::size_t maxRecord = kMaxRecord, char separator = ',');

    // Moves to the next record that is not blank; false at the end of the input.
    bool next();
    // The current record's fields; valid until the next call of next().
    std::span<const std::string_view> fields() const { return fields_; }
    // The line the current record starts on, counting from 1.
    std::size_t line() const { return recordLine_; }
    // ',' or ';' (once the first record is read, when detected).
    char separator() const { return separator_; }

private:
    enum class Parse { Done, NeedMore };
    Parse parseRecord(std::size_t& end);
    bool refill();
    void detectSeparator();
    void detectLineEnds();

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t maxRecord_;
    char separator_;
    std::size_t begin_ = 0; // start of the unread data
    std::size_t end_ = 0;   // end of the data read so far
    bool eof_ = false;
    bool first_ = true;
    bool crOnly_ = false; // lines end in '\r' alone, as old Mac programs save them
    std::size_t nextLine_ = 1;
    std::size_t recordLine_ = 0;
    std::size_t quotedBreaks_ = 0; // line breaks inside the quotes of the record being read
    std::vector<std::string_view> fields_;
    // Per field: start and end offsets from begin_, and whether quotes need undoubling.
    struct Span {
        std::size_t first, last;
        bool escaped;
        bool quoted;
    };
    std::vector<Span> spans_;
};

} // namespace csv
