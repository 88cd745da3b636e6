#pragma once
// Where the points go: a readable table like the form, one JSON object per point, or CSV. All
// three write into one large buffer that goes out in few big writes and only ever holds whole
// points, so what has been written stays well-formed if a later row is refused.

#include "calculations.hpp"

#include <cstddef>
#include <exception>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class Format { Table, Json, Csv };

// The output refused bytes (a full disk, a closed pipe): nothing more is worth computing.
class OutputFailed : public std::exception {
public:
    const char* what() const noexcept override { return "the output could not be written"; }
};

class Sink {
public:
    explicit Sink(std::ostream& out, std::size_t capacity = std::size_t{1} << 18);
    // Room for at least n more bytes; write up to there, then commit. Throws OutputFailed when
    // making room meets an output that no longer takes anything.
    char* reserve(std::size_t n);
    void commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
    void write(std::string_view text);
    // False when the stream refused the bytes.
    bool flush();

private:
    std::ostream& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
};

// The shortest text that reads back to the same float; "nan", "inf" and "-inf" otherwise. At most
// 15 characters.
char* writeShortest(char* out, float value);
// The same to a number of significant digits (1 to 9), as "%g" would.
char* writeDigits(char* out, float value, int digits);
inline constexpr std::size_t kMaxNumberText = 16;
inline constexpr int kMaxDigits = 9; // enough for any float to read back exactly

// One column of the output: a field of the calculation, or a column of the input file carried
// through unchanged.
struct OutColumn {
    std::string name;
    bool carried = false;
    std::size_t index = 0; // the field, or the input column
};

// Every field of the calculation, in its order.
std::vector<OutColumn> allFields(const Calculation& calc);

enum class TableLayout {
    Form, // one point: label, value and unit line by line, as the form shows them
    Rows, // a batch or sweep: a header and a row per point
};

class PointWriter {
public:
    // digits: 0 for the shortest text that reads back exactly, else significant digits.
    PointWriter(Sink& sink, Format format, const Calculation& calc, std::vector<OutColumn> columns,
                int digits, TableLayout layout);
    // Once before the first point (the CSV header, the table's column names).
    void begin();
    // The calculation's fields as they stand now; carried columns from the input row.
    // noFigures: a point refused for its inputs, whose results are written empty in CSV.
    void point(std::span<const std::string_view> inputRow = {}, bool noFigures = false);

private:
    void form();
    void rows(std::span<const std::string_view> inputRow);
    void json(std::span<const std::string_view> inputRow);
    void csv(std::span<const std::string_view> inputRow);
    char* number(char* p, float value) const;
    std::string_view word(std::size_t field) const;
    std::size_t carriedBytes(std::span<const std::string_view> inputRow) const;

    Sink& sink_;
    Format format_;
    const Calculation& calc_;
    std::vector<OutColumn> columns_;
    int digits_;
    TableLayout layout_;
    std::size_t labelWidth_ = 0;
    std::size_t points_ = 0;
    bool noFigures_ = false;          // the point being written
    std::size_t rowBytes_ = 0;        // the most a JSON or CSV point can take, carried text aside
    std::vector<std::size_t> widths_; // per column in the Rows table
    // Per column, what a CSV row needs: where a number is kept (stable for the calculation's
    // life), else a carried column or a word.
    struct Cell {
        const float* value;
        bool carried;
        std::size_t index;
    };
    std::vector<Cell> cells_;
    bool anyCarried_ = false;
};

} // namespace cli
