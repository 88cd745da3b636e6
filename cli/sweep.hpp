#pragma once
// --sweep NAME=START:STOP:STEP: reading the text and running every combination of points.

#include "calculations.hpp"

#include <cstddef>
#include <string>

namespace cli {

struct Sweep {
    std::size_t field;
    double start;
    double step;
    std::size_t count;
};

// Sweeps are kept to sizes a person means: a million points along one input, a hundred million
// rows in all.
inline constexpr std::size_t kMaxSweepPoints = 1'000'000;
inline constexpr std::size_t kMaxSweepRows = 100'000'000;

// Throws BadInput naming the sweep and what is wrong with it.
Sweep parseSweep(const Calculation& calc, const std::string& sweepText);

// The value at a point: computed in double precision, stored as single.
float sweepValue(const Sweep& sweep, std::size_t index);

} // namespace cli
