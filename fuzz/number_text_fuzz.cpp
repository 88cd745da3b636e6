// Number text: whatever the program accepts from a box is finite or a value it writes itself
// (inf, -inf, nan), and whatever it writes reads back: the shortest text to the very same float,
// the six-digit text to the float nearest that text.
#include "number_text.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void checkWrittenReadsBack(float value) {
    const auto shortest = fields::parseFloat(fields::shortestFloat(value));
    check(shortest.has_value());
    if (std::isnan(value))
        check(std::isnan(*shortest));
    else
        check(std::bit_cast<std::uint32_t>(*shortest) == std::bit_cast<std::uint32_t>(value));

    const std::string shown = fields::formatFloat(value);
    const auto six = fields::parseFloat(shown);
    check(six.has_value());
    check(std::isnan(*six) == std::isnan(value));
    if (!std::isnan(value)) {
        check(std::isinf(*six) == std::isinf(value));
        check(std::signbit(*six) == std::signbit(value));
        // Six digits may be another float, but never far from it.
        if (std::isfinite(value) && value != 0 && std::abs(value) >= 1e-37f)
            check(std::abs(double(*six) - double(value)) <= std::abs(double(value)) * 1e-5);
    }
    check(shown.find(',') == std::string::npos && shown != "-nan");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto read = fields::parseFloat(text)) {
        const bool written = std::isnan(*read) || std::isinf(*read);
        check(std::isfinite(*read) || written);
        checkWrittenReadsBack(*read);
    }
    if (size >= 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data, 4);
        checkWrittenReadsBack(std::bit_cast<float>(bits));
    }
    return 0;
}
