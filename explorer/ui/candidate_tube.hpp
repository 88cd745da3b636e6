#pragma once
// What each candidate's flame tube takes from the candidate: its wheel, and the air, pressure,
// temperature, fuel and nozzle of its cycle. The one place to re-point when the figures come
// from elsewhere.

#include "candidate.hpp"
#include "candidates.hpp"

#include <vector>

namespace explorer {

std::vector<flametube::NamedFigures> tubeFigures(const std::vector<Candidate>& candidates);

} // namespace explorer
