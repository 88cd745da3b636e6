#include "drawing.hpp"

namespace flametube {

double textWidth(const std::string& text, double size) {
    // UTF-8 continuation bytes do not start a letter.
    std::size_t letters = 0;
    for (const char c : text)
        letters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return static_cast<double>(letters) * size * 0.55;
}

} // namespace flametube
