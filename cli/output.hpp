#pragma once
// Where the points go: a readable table like the form, one JSON object per point, or CSV. All
// three write into one large buffer that goes out in few big writes and only ever holds whole
// points, so what has been written stays well-formed if a later row is refused.

#include "calculations.hpp"

#include <cstddef>
#include <exception>
#include <ostream>
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
inline constexpr std::size_t kMaxNumberText = 16;

class PointWriter {
public:
    PointWriter(Sink& sink, Format format, const Calculation& calc);
    // Once before the first point (the CSV header).
    void begin();
    // The calculation's fields as they stand now.
    void point();

private:
    void table();
    void json();
    void csv();

    Sink& sink_;
    Format format_;
    const Calculation& calc_;
    std::size_t labelWidth_ = 0;
    std::size_t points_ = 0;
    std::size_t rowBytes_ = 0; // the most a JSON or CSV point can take
};

} // namespace cli
