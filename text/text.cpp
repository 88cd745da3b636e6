#include "text.hpp"

#include <cstddef>

namespace text {

namespace {

constexpr std::size_t kShownCharacters = 40;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The length of the well-formed UTF-8 character text starts with, 0 if it starts with none
// (a stray continuation byte, an overlong form, a surrogate, a cut sequence).
std::size_t characterLength(std::string_view text) {
    const auto at = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const auto within = [](unsigned byte, unsigned low, unsigned high) {
        return byte >= low && byte <= high;
    };
    const unsigned lead = at(0);
    if (lead < 0x80)
        return 1;
    if (within(lead, 0xC2, 0xDF))
        return within(at(1), 0x80, 0xBF) ? 2 : 0;
    // The second byte's range is narrower after these leads, which rules out overlong forms,
    // surrogates and code points beyond U+10FFFF.
    const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    const std::size_t length = within(lead, 0xE0, 0xEF) ? 3 : within(lead, 0xF0, 0xF4) ? 4 : 0;
    if (length == 0 || !within(at(1), low, high))
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!within(at(i), 0x80, 0xBF))
            return 0;
    return length;
}

bool isControl(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1)
        return lead < 0x20 || lead == 0x7F;
    // U+0080 to U+009F, the second set of control characters.
    return lead == 0xC2 && static_cast<unsigned char>(character[1]) <= 0x9F;
}

} // namespace

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = lower(c);
    return out;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    std::size_t shown = 0;
    while (!text.empty() && shown < kShownCharacters) {
        const std::size_t length = characterLength(text);
        const std::string_view character = text.substr(0, length == 0 ? 1 : length);
        if (length == 0 || isControl(character))
            out += '?';
        else
            out += character;
        text.remove_prefix(character.size());
        ++shown;
    }
    if (!text.empty())
        out += "...";
    return out + "\"";
}

} // namespace text
