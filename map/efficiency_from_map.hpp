#pragma once
// Whether a candidate's compressor efficiency is read off its map instead of typed (the point's
// evaluation does the reading): the word of its file column.

#include <optional>
#include <string_view>

namespace compmap {

// The column of a candidates file that asks for it, and its words: "yes" asks, "no" or nothing
// does not (any case).
inline constexpr std::string_view kEfficiencyFromMapColumn = "efficiency-from-map";
inline constexpr std::string_view kEfficiencyFromMapYes = "yes";
std::optional<bool> efficiencyFromMapWord(std::string_view text);

} // namespace compmap
