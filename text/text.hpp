#pragma once
// How the program trims, compares and quotes the text people give it, one rule each, so that a
// word read from a box, an option or a file is taken the same way everywhere.
//
// Blanks are space, tab, carriage return and line feed: the set number reading has always
// skipped, so a cell that reads as a number also trims as a word. Case is ASCII only; other bytes
// compare as they are.

#include <string>
#include <string_view>

namespace text {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Without blanks around it. Inline, since every number read goes through it.
constexpr std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// 'A' to 'Z' as 'a' to 'z', every other byte as it is.
std::string lowered(std::string_view text);

bool sameIgnoringCase(std::string_view a, std::string_view b);

// A user's text for a message: in double quotes, cut after 40 characters with "...", each
// control character and each byte that is not part of a well-formed UTF-8 character shown as '?',
// so that a message stays one readable line in a terminal and a window alike.
std::string quoted(std::string_view text);

} // namespace text
