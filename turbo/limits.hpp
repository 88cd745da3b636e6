#pragma once
// Where a candidate engine breaks: the limits of its turbine, its wheel and its nozzle, and which
// of them an operating point goes beyond, by how much. The defaults are the program's own
// figures where it has them, so the untouched engine sits on its limits, not past them:
//   turbine inlet temperature 788 deg. C (1450 deg. F), the most the turbine takes in steady
//     running as the Turbo Analysis window assumes;
//   turbine outlet (exhaust) temperature 720 deg. C, the sustained gas temperature at a diesel
//     turbocharger's turbine beyond which damage to its housing and wheel is commonly reported;
//   tip speed 1450 ft/s, the compressor tip speed the window takes as the wheel's maximum;
//   the nozzle's critical pressure ratio, (1 + (gamma - 1) / 2)^(gamma / (gamma - 1)) for the
//     cycle's hot gas: with (gamma - 1) / gamma = 0.248, gamma = 1 / 0.752, so (gamma - 1) / 2 =
//     0.248 / (2 x 0.752) and the power is 1 / 0.248, giving 1.85048. Above it the nozzle
//     chokes and the cycle's jet velocity overstates the thrust;
//   a surge margin of 0 % on the compressor's map: below it the compressor surges.
// On a map the wheel's tip speed is the one at the map's speed for the point, not the assumed one.

#include "units.hpp"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace turbo {

enum class Limit : std::size_t {
    TurbineInletTemp,
    TurbineOutletTemp,
    TipSpeed,
    NozzleCriticalPr,
    SurgeMargin, // a lower bound: the margin below it is the excess
};
inline constexpr std::size_t kLimitCount = 5;

struct LimitInfo {
    Limit limit;
    std::string_view
        key; // the limit's input (or result), as named on the command line and in files
    std::string_view name;     // in a sentence: "turbine inlet temperature"
    fields::Quantity quantity; // of the limit and of the excess
};
std::span<const LimitInfo> limitInfos(); // in the order of the enumeration
const LimitInfo& limitInfo(Limit limit);

// The nozzle's critical pressure ratio for the cycle's gas exponent, in double precision.
double nozzleCriticalPressureRatio();

// One value per limit, in the forms' units (deg. C, ft/s, a ratio).
struct Limits {
    std::array<float, kLimitCount> values{};
    Limits(); // the defaults above

    float& operator[](Limit l) { return values[static_cast<std::size_t>(l)]; }
    float operator[](Limit l) const { return values[static_cast<std::size_t>(l)]; }
};

// The figures of one operating point that the limits bound.
struct LimitedFigures {
    float turbineInletTemp;  // deg. C
    float turbineOutletTemp; // deg. C
    float tipSpeed;          // ft/s
    float nozzlePr;
    float surgeMargin; // %, NaN off the map
};

// How far past each limit a point is: float(value - limit) where the value is above it (for the
// surge margin float(limit - value) where it is below), 0 where it is not. A figure or a limit that
// is not a number exceeds nothing.
struct LimitExcess {
    std::array<float, kLimitCount> over{};

    float operator[](Limit l) const { return over[static_cast<std::size_t>(l)]; }
    bool exceeds(Limit l) const { return (*this)[l] > 0; }
    bool any() const;
};
LimitExcess checkLimits(const Limits& limits, const LimitedFigures& figures);

// The exceeded limits as bits, in the order of Limit: the index of their words in
// fields::kLimitWords.
unsigned limitSet(const LimitExcess& excess);

} // namespace turbo
