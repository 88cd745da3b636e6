#pragma once
// --sweep NAME=START:STOP:STEP: reading the text. The stepping rule itself is fields::Sweep,
// which the Design Explorer's curves use too, so both give the same points.

#include "calculations.hpp"
#include "sweep.hpp"

#include <cstddef>
#include <string>

namespace cli {

struct Sweep {
    std::size_t field;
    fields::Sweep points;
};

// Throws BadInput naming the sweep and what is wrong with it.
Sweep parseSweep(const Calculation& calc, const std::string& sweepText);

} // namespace cli
