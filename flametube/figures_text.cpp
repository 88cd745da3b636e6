#include "figures_text.hpp"

#include <array>
#include <charconv>
#include <cmath>

namespace flametube {

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    std::string text(buffer.data(), result.ptr);
    if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1); // no "-0.0"
    return text;
}

} // namespace flametube
