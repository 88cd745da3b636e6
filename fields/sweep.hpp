#pragma once
// The stepping rule of a sweep, shared by vorlaxen-calc --sweep and the Design Explorer's curves so
// that both give the same points.

#include <cstddef>
#include <optional>
#include <string_view>

namespace fields {

// Sweeps are kept to sizes a person means: a million points along one input, a hundred million
// rows in all (when several sweeps are combined).
inline constexpr std::size_t kMaxSweepPoints = 1'000'000;
inline constexpr std::size_t kMaxSweepRows = 100'000'000;

// Point i is float(start + double(i) x step), computed in double precision and stored as single.
struct Sweep {
    double start = 0;
    double step = 1;
    std::size_t count = 1;

    float point(std::size_t index) const {
        return static_cast<float>(start + static_cast<double>(index) * step);
    }
};

enum class SweepProblem {
    None,
    ZeroStep,      // the step is 0
    AwayFromStop,  // the step goes away from the stop
    TooManyPoints, // more than the most points allowed (kMaxSweepPoints unless told)
    NotFinite,     // start, stop or step is NaN or infinite (text never gives one:
                   // parseSweepNumber refuses it)
};

// The points from start towards stop while they do not pass it; a stop within a billionth of a
// step of the grid counts as reached, so 0:1:0.1 has 11 points. On a problem, sweep is unchanged.
SweepProblem planSweep(double start, double stop, double step, Sweep& sweep,
                       std::size_t maxPoints = kMaxSweepPoints);

// A number of a sweep's range: as from_chars reads it (a leading '+' allowed), finite and within
// the single-precision range; nullopt otherwise.
std::optional<double> parseSweepNumber(std::string_view text);

} // namespace fields
