#include "efficiency_from_map.hpp"

#include <algorithm>
#include <cctype>

namespace compmap {

std::optional<bool> efficiencyFromMapWord(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    const auto is = [&](std::string_view word) {
        return std::ranges::equal(text, word, [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        });
    };
    if (is(kEfficiencyFromMapYes))
        return true;
    if (text.empty() || is("no"))
        return false;
    return std::nullopt;
}

} // namespace compmap
