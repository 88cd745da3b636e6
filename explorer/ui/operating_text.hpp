#pragma once
// How a row of the Design Explorer words the limits the candidate goes past and by how much.

#include "limits.hpp"
#include "units.hpp"

#include <QString>

namespace explorer {

// "turbine inlet temperature +12 deg. C; nozzle critical PR +0.0495"; empty when none.
QString limitsText(const turbo::LimitExcess& excess, fields::UnitSystem units);

} // namespace explorer
