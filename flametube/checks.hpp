#pragma once
// Checks of a drilled flame tube against the cycle of its engine: how the air divides among the
// rows, how fast it goes through the holes and the liner pressure drop that takes, and the
// primary zone's mixture when all the fuel goes in there. Each figure outside a plausible range
// carries the reason, with its source.

#include "tube.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace flametube {

// What the cycle sends the combustor, in SI units.
struct CycleAir {
    double massFlow = 0;            // kg/s
    double p3 = 0;                  // Pa, absolute, at the compressor outlet
    double t2 = 0;                  // K, the compressor discharge temperature
    std::optional<double> fuelFlow; // kg/s, when the cycle gives one
};

// Plain round holes in a liner: Lefebvre and Ballal, Gas Turbine Combustion, 3rd ed., ch. 4, and
// Kaddah (Cranfield, 1964) measure about 0.6 for holes without a plunged rim.
inline constexpr double kDischargeCoefficient = 0.6;
// The gas constant of air, J/(kg K).
inline constexpr double kAirGasConstant = 287.05;
// The stoichiometric fuel-air ratio of kerosene (Lefebvre and Ballal, ch. 2).
inline constexpr double kStoichiometricFar = 0.068;

struct RowCheck {
    double share = 0; // of the air, as the rows' drilled areas divide it
    double air = 0;   // kg/s
    double fuel = 0;  // kg/s: all of it in the primary row, none in the others
};

struct Flag {
    std::string figure; // which figure
    std::string reason; // why it is outside the range, with the range's source
};

struct TubeChecks {
    std::array<RowCheck, 3> rows;
    double density = 0;                       // kg/m3 at P3 and T2
    double holeVelocity = 0;                  // m/s through the holes
    double linerDrop = 0;                     // Pa, across the liner
    double linerDropShare = 0;                // of P3
    std::optional<double> primaryEquivalence; // all the fuel with the primary row's air
    std::vector<Flag> flags;
};

// Nothing when the tube is not drillable or the cycle's figures are not usable.
std::optional<TubeChecks> checkTube(const TubePlan& plan, const CycleAir& air);

} // namespace flametube
