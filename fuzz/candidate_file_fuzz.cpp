// The explorer's candidate file reader: any bytes either give candidates or an error naming a
// place in the file, never both; candidates that were read write out and read back the same, bit
// for bit, except that every NaN is written "nan" and so reads back as the one NaN that text
// gives ("-nan" read from a file loses its sign bit).
#include "candidate_file.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    const auto first = explorer::readCandidates(in, "fuzz.csv");
    if (first.error) {
        std::size_t lines = 1;
        for (const char c : text)
            lines += c == '\n';
        if (!first.candidates.empty() || first.error->line > lines || first.error->message.empty())
            std::abort();
        return 0;
    }
    std::stringstream out;
    if (explorer::writeCandidates(out, first.candidates))
        std::abort(); // a file gives numbers only
    const auto second = explorer::readCandidates(out, "again.csv");
    if (second.error || second.candidates.size() != first.candidates.size())
        std::abort();
    for (std::size_t c = 0; c < first.candidates.size(); ++c) {
        const auto& a = first.candidates[c];
        const auto& b = second.candidates[c];
        if (a.name != b.name || a.massFlowSource != b.massFlowSource)
            std::abort();
        for (std::size_t i = 0; i < a.inputs.size(); ++i) {
            // The mass flow is written as the one the cycle uses (the estimate when chosen), and
            // an input not given as the one the point works out.
            const bool used = i == std::size_t(explorer::EngineInput::MassFlow) ||
                              turbo::isNotGiven(a.inputs[i].value);
            const float expected = used ? explorer::evaluate(a)->used.values[i] : a.inputs[i].value;
            const float got = b.inputs[i].value;
            if (std::isnan(expected)
                    ? !std::isnan(got)
                    : std::bit_cast<std::uint32_t>(got) != std::bit_cast<std::uint32_t>(expected))
                std::abort();
        }
    }
    return 0;
}
