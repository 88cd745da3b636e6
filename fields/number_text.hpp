#pragma once
// How a single-precision field is written into a box and read back from it.
// Locale-independent: '.' is the decimal point whatever the user's locale says.

#include <optional>
#include <string>
#include <string_view>

namespace fields {

// Up to six significant digits, as printf's "%g" writes them; "inf", "-inf" and "nan"
// (never "-nan") for the values that are not finite.
std::string formatFloat(float value);

// The shortest text that reads back to exactly the same float ("0.1", "1.41307", "1e+10").
std::string shortestFloat(float value);

// Reads a whole box's text as a float, rounded to nearest. Leading and trailing blanks and a
// leading '+' are allowed; "inf", "-inf" and "nan" (any case) are accepted because the program
// writes them itself. A number too small for a float is taken as zero of its sign. Anything else
// (empty text, letters, "4,3", a value beyond the float range) is not a number: nullopt.
std::optional<float> parseFloat(std::string_view text);

// Why parseFloat refused a text, for the messages that say so.
enum class NotANumber {
    Empty,        // nothing but blanks
    DecimalComma, // "4,3": a comma where the point belongs
    TooLarge,     // a whole number, but beyond the float range
    Other,        // letters and anything else
};
NotANumber whyNotANumber(std::string_view text);
// The same in words, one wording for every message: "a number is missing", "\"4,3\" is not a
// number (the decimal point is '.')", "\"1e39\" is out of range (the largest number is
// 3.40282e+38)" or "\"x\" is not a number".
std::string notANumber(std::string_view text);

} // namespace fields
