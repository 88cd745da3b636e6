#pragma once
// Sizing of the flame tube from the compressor's inducer diameter ("Calculate Flame Tube"): its
// length and diameter, and the air hole area and hole count of the primary, secondary and
// tertiary rows for the chosen drill sizes.

#include "combustor_fields.hpp"

namespace combustor {

// The combustor works with this double-precision pi; the Turbo Analysis window uses another.
inline constexpr double kPi = 3.14159265;

// The ratio of tube diameter to inducer diameter for a unit system. The stored float diameter is
// compared with the double thresholds, so a typed 1.6 (1.60000002) counts as above 1.6.
double diameterRatio(int unitIndex, float inducerDiameter);

// Writes the inducer radius and area, the tube length and diameter, the three hole areas and the
// three hole counts (not rounded to whole holes); changes nothing else. A drill of 0 gives an
// infinite count, and other odd inputs go through the formulas as they stand.
void calcFlameTube(CombustorFields& f);

} // namespace combustor
