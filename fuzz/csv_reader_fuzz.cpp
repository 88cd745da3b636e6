// The CSV batch reader: any bytes either read as records or are refused with a CsvError naming a
// line; reading through a tiny buffer that must refill and grow gives the very same records as
// reading through a large one.
#include "csv_reader.hpp"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    std::vector<std::vector<std::string>> records;
    std::vector<std::size_t> lines;
    bool refused = false;
    std::size_t refusedLine = 0;
};

Outcome readAll(const std::string& text, std::size_t bufferSize, std::size_t maxRecord) {
    Outcome outcome;
    std::istringstream in(text);
    csv::CsvReader reader(in, bufferSize, maxRecord);
    try {
        while (reader.next()) {
            outcome.records.emplace_back(reader.fields().begin(), reader.fields().end());
            outcome.lines.push_back(reader.line());
        }
    } catch (const csv::CsvError& error) {
        outcome.refused = true;
        outcome.refusedLine = error.line();
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Both readers may hold a record as long as the whole input, so neither refuses for length.
    const Outcome small = readAll(text, 8, size + 16);
    const Outcome large = readAll(text, 1 << 16, size + 16);
    if (small.records != large.records || small.lines != large.lines ||
        small.refused != large.refused || small.refusedLine != large.refusedLine)
        std::abort();
    std::size_t newlines = 1;
    for (const char c : text)
        newlines += c == '\n';
    for (const std::size_t line : small.lines)
        if (line < 1 || line > newlines)
            std::abort();
    if (small.refused && (small.refusedLine < 1 || small.refusedLine > newlines))
        std::abort();
    return 0;
}
