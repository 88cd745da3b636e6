#pragma once
// The three small calculations of the Turbo Analysis window: the compressor's maximum speed, the
// air mass flow through the inducer, and the centimetre/inch converter.

#include "turbo_constants.hpp"
#include "turbo_fields.hpp"

namespace turbo {

// m_MaxRpm from m_CompOutletDiameter at the wheel's tip speed (ft/s), 1450 in the window.
void calcMaxRpm(TurboFields& f, float tipSpeed = kTipSpeed);

// m_MassFlowEstimate from the inducer/hub annulus; m_MassFlow, the full analysis input, gets the
// same stored value so that a following full analysis uses it.
void calcMassFlow(TurboFields& f);

// Converts from the larger of m_ConvCm and m_ConvInches into the other; equal values stay.
void convertLength(TurboFields& f);

} // namespace turbo
