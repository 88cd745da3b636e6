// The run-log reader: any bytes either read as a log or are refused with a place in the file.
// A log read holds only finite numbers, lines in order, and at least one measured column; written
// back in the forms' units and read again, it gives the same numbers bit for bit.
#include "number_text.hpp"
#include "run_log.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

std::string writtenBack(const runs::RunLog& log) {
    std::string text;
    for (const auto m : runs::allMeasured())
        text.append(text.empty() ? "" : ",").append(runs::measuredInfo(m).key);
    text += '\n';
    for (const auto& p : log.points) {
        bool first = true;
        for (const auto& v : p.values) {
            text += first ? "" : ",";
            first = false;
            if (v)
                text += fields::shortestFloat(*v);
        }
        text += '\n';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    const auto result = runs::readRunLog(in, "fuzz.csv");
    std::size_t lines = 1;
    for (const char c : text)
        lines += c == '\n' || c == '\r';
    if (const auto* error = std::get_if<runs::RunLogError>(&result)) {
        check(error->line <= lines && !error->message.empty());
        return 0;
    }
    const auto& log = std::get<runs::RunLog>(result);
    check(!log.points.empty() && log.points.size() <= runs::kMaxPoints);
    std::size_t last = 1;
    for (const auto& p : log.points) {
        check(p.line > last && p.line <= lines);
        last = p.line;
        for (const auto& v : p.values)
            check(!v || std::isfinite(*v));
    }
    std::istringstream again(writtenBack(log));
    const auto reread = runs::readRunLog(again, "again.csv");
    const auto* copy = std::get_if<runs::RunLog>(&reread);
    check(copy && copy->points.size() == log.points.size());
    for (std::size_t i = 0; i < log.points.size(); ++i)
        for (std::size_t m = 0; m < runs::kMeasuredCount; ++m) {
            const auto& a = log.points[i].values[m];
            const auto& b = copy->points[i].values[m];
            check(a.has_value() == b.has_value() &&
                  (!a || std::bit_cast<std::uint32_t>(*a) == std::bit_cast<std::uint32_t>(*b)));
        }
    return 0;
}
