#pragma once
// The engine with its compressor efficiency read off its map instead of typed.
//
// The operating point's pressure ratio depends only on P2 and the ambient, and its corrected flow
// only on the mass flow (typed, or the wheel's estimate) and the ambient: neither depends on the
// efficiency. So the point is found first, the efficiency of the highest island holding it is
// looked up, and the cycle is then worked out with that efficiency in place of the typed one.
// Outside every island there is no efficiency, and so no cycle figure at that point.

#include "compressor_map.hpp"
#include "engine.hpp"
#include "matching.hpp"

#include <optional>
#include <string_view>

namespace compmap {

// Why a point has no figures when its efficiency comes from the map.
inline constexpr std::string_view kOutsideIslands = "outside every efficiency island of the map";

struct EngineOnMap {
    OperatingPoint point; // where the engine works; the same with either efficiency
    float efficiency = 0; // % the cycle used: the map's, when it had one
    // The engine's figures with the map's efficiency; nullopt outside every island.
    std::optional<turbo::EngineResults> results;
};

EngineOnMap evaluateWithMapEfficiency(const turbo::EngineInputs& inputs, const CompressorMap& map);

// The column of a candidates file that asks for it, and its words: "yes" asks, "no" or nothing
// does not (any case).
inline constexpr std::string_view kEfficiencyFromMapColumn = "efficiency-from-map";
inline constexpr std::string_view kEfficiencyFromMapYes = "yes";
std::optional<bool> efficiencyFromMapWord(std::string_view text);

} // namespace compmap
