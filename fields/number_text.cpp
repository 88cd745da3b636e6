#include "number_text.hpp"

#include "text.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace fields {

namespace {

std::string nonFinite(float value) {
    if (std::isnan(value))
        return "nan";
    return value < 0 ? "-inf" : "inf";
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether a decimal number that from_chars has fully accepted is below one in magnitude, told from
// the place of its first significant digit and its exponent, so that even a number too long or
// too far out for a double is judged right.
bool isBelowOne(std::string_view text) {
    std::size_t i = (!text.empty() && text.front() == '-') ? 1 : 0;
    long long order = 0; // decimal exponent of the first significant digit, before the 'e' part
    bool seenPoint = false;
    bool seenSignificant = false;
    long long place = 0; // digits before the point, or minus leading zeros after it
    for (; i < text.size() && (isDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            seenPoint = true;
            continue;
        }
        if (!seenSignificant && text[i] == '0') {
            if (seenPoint)
                --place;
            continue;
        }
        if (!seenSignificant) {
            seenSignificant = true;
            order = seenPoint ? place - 1 : 0;
        } else if (!seenPoint) {
            ++order;
        }
    }
    if (!seenSignificant)
        return true;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            negative = text[i++] == '-';
        for (; i < text.size() && isDigit(text[i]); ++i)
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (text[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    return order + exponent < 0;
}

} // namespace

std::string formatFloat(float value) {
    if (!std::isfinite(value))
        return nonFinite(value);
    std::array<char, 64> buffer{};
    // "%g" works on the double the float promotes to; so does this.
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      static_cast<double>(value), std::chars_format::general, 6);
    return {buffer.data(), result.ptr};
}

std::string shortestFloat(float value) {
    if (!std::isfinite(value))
        return nonFinite(value);
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::optional<float> parseFloat(std::string_view text) {
    text = text::trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+'))
            return std::nullopt; // "+-1" is not a number
    }
    if (text.empty())
        return std::nullopt;

    const char* const first = text.data();
    const char* const last = first + text.size();
    float value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (end != last)
        return std::nullopt;
    if (error == std::errc{})
        return value;
    if (error != std::errc::result_out_of_range)
        return std::nullopt;

    // Out of range: a number too small for a float reads as zero, one too large is refused.
    if (!isBelowOne(text))
        return std::nullopt;
    return text.front() == '-' ? -0.0f : 0.0f;
}

NotANumber whyNotANumber(std::string_view text) {
    text = text::trimmed(text);
    if (text.empty())
        return NotANumber::Empty;
    if (text.find(',') != std::string_view::npos)
        return NotANumber::DecimalComma;
    if (text.front() == '+')
        text.remove_prefix(1);
    double wide = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (!text.empty() && end == text.data() + text.size() &&
        (error == std::errc::result_out_of_range ||
         std::abs(wide) > std::numeric_limits<float>::max()))
        return NotANumber::TooLarge;
    return NotANumber::Other;
}

std::string notANumber(std::string_view text) {
    switch (whyNotANumber(text)) {
    case NotANumber::Empty:
        return "a number is missing";
    case NotANumber::DecimalComma:
        return text::quoted(text) + " is not a number (the decimal point is '.')";
    case NotANumber::TooLarge:
        return text::quoted(text) + " is out of range (the largest number is " +
               formatFloat(std::numeric_limits<float>::max()) + ")";
    case NotANumber::Other:
        break;
    }
    return text::quoted(text) + " is not a number";
}

} // namespace fields
