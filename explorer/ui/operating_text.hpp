#pragma once
// How a row of the Design Explorer words what comes after the cycle: which limits the candidate
// goes past and by how much, and why a fuel result has no figure.

#include "engine.hpp"
#include "units.hpp"

#include <QString>

namespace explorer {

// "turbine inlet temperature +12 deg. C; nozzle critical PR +0.0495"; empty when none.
QString limitsText(const turbo::LimitExcess& excess, fields::UnitSystem units);

// Why the result has no figure, for a fuel result without one; empty otherwise.
QString fuelGapText(const turbo::EngineResults& results, turbo::EngineResult result);

} // namespace explorer
