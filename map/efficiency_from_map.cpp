#include "efficiency_from_map.hpp"

#include "text.hpp"

namespace compmap {

std::optional<bool> efficiencyFromMapWord(std::string_view text) {
    text = text::trimmed(text);
    const auto is = [&](std::string_view word) { return text::sameIgnoringCase(text, word); };
    if (is(kEfficiencyFromMapYes))
        return true;
    if (text.empty() || is("no"))
        return false;
    return std::nullopt;
}

} // namespace compmap
