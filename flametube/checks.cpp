#include "checks.hpp"

#include <cmath>

namespace flametube {

namespace {

// The liner pressure drop of working combustors, a share of P3: Saravanamuttoo, Rogers and
// Cohen, Gas Turbine Theory, 5th ed., ch. 6, give 2 to 8 % for the whole chamber.
constexpr double kLeastDrop = 0.02;
constexpr double kMostDrop = 0.08;
// A primary zone burns steadily near stoichiometric: Lefebvre and Ballal, ch. 1, design it for
// equivalence ratios of about 0.8 to 1.5 at full power.
constexpr double kLeanestPrimary = 0.8;
constexpr double kRichestPrimary = 1.5;

std::string percent(double share) {
    const long tenths = std::lround(share * 1000);
    return std::to_string(tenths / 10) + "." + std::to_string(std::abs(tenths % 10)) + " %";
}

} // namespace

std::optional<TubeChecks> checkTube(const TubePlan& plan, const CycleAir& air) {
    if (!plan.drillable() || !(air.massFlow > 0) || !(air.p3 > 0) || !(air.t2 > 0) ||
        !std::isfinite(air.massFlow) || !std::isfinite(air.p3) || !std::isfinite(air.t2))
        return std::nullopt;
    TubeChecks c;
    const double m2PerUnit2 = (plan.mmPerUnit / 1000) * (plan.mmPerUnit / 1000);
    double total = 0;
    for (const auto& row : plan.rows)
        total += row.choice->drilledArea;
    // One pressure drop across the whole liner: each row passes air in proportion to its area.
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
        c.rows[r].share = plan.rows[r].choice->drilledArea / total;
        c.rows[r].air = c.rows[r].share * air.massFlow;
    }
    c.density = air.p3 / (kAirGasConstant * air.t2);
    const double effective = kDischargeCoefficient * total * m2PerUnit2;
    c.holeVelocity = air.massFlow / (c.density * effective);
    c.linerDrop = c.density * c.holeVelocity * c.holeVelocity / 2;
    c.linerDropShare = c.linerDrop / air.p3;
    if (c.linerDropShare < kLeastDrop)
        c.flags.push_back({"liner pressure drop", percent(c.linerDropShare) +
                                                      " of P3 is below 2 %: the jets will not "
                                                      "reach the middle of the tube (2 to 8 %, "
                                                      "Saravanamuttoo et al., Gas Turbine "
                                                      "Theory)"});
    if (c.linerDropShare > kMostDrop)
        c.flags.push_back({"liner pressure drop", percent(c.linerDropShare) +
                                                      " of P3 is above 8 %: the holes throttle "
                                                      "the air the cycle needs (2 to 8 %, "
                                                      "Saravanamuttoo et al., Gas Turbine "
                                                      "Theory)"});
    if (air.fuelFlow && std::isfinite(*air.fuelFlow) && *air.fuelFlow >= 0) {
        c.rows[kPrimary].fuel = *air.fuelFlow;
        c.primaryEquivalence = *air.fuelFlow / c.rows[kPrimary].air / kStoichiometricFar;
        const double phi = *c.primaryEquivalence;
        if (phi < kLeanestPrimary || phi > kRichestPrimary)
            c.flags.push_back(
                {"primary equivalence ratio",
                 std::string(phi < kLeanestPrimary ? "too lean" : "too rich") +
                     " for a steady flame with all the fuel in the primary zone (0.8 to 1.5, "
                     "Lefebvre and Ballal, Gas Turbine Combustion)"});
    }
    return c;
}

} // namespace flametube
