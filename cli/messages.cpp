#include "messages.hpp"

#include "number_text.hpp"
#include "text.hpp"

#include <algorithm>
#include <limits>

namespace cli {

std::string shown(std::string_view text) {
    return text::quoted(text);
}

std::string bare(std::string_view text) {
    const auto quoted = shown(text);
    return quoted.substr(1, quoted.size() - 2);
}

std::string joined(std::span<const std::string> items) {
    std::string text;
    for (const auto& item : items) {
        if (!text.empty())
            text += ", ";
        text += item;
    }
    return text;
}

std::string numberProblem(std::string_view text) {
    return fields::notANumber(text);
}

namespace {

// Letters typed, left out, swapped for others or swapped with a neighbour.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> before(b.size() + 1), row(b.size() + 1), prior(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        prior = before;
        before = row;
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            row[j] = std::min(
                {before[j] + 1, row[j - 1] + 1, before[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], prior[j - 2] + 1);
        }
    }
    return row[b.size()];
}

} // namespace

std::string_view closest(std::string_view typed, std::span<const std::string> candidates) {
    std::string_view best;
    std::size_t bestDistance = std::numeric_limits<std::size_t>::max();
    for (const auto& c : candidates) {
        const auto d = editDistance(typed, c);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    // A third of the name may be wrong, at least one letter: "--p3" is near "--p2", "--speed"
    // near nothing.
    const std::size_t allowed = std::max<std::size_t>(1, typed.size() / 3);
    return bestDistance <= allowed ? best : std::string_view{};
}

} // namespace cli
