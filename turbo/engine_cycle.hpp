#pragma once
// One steady-state operating point of a turbocharger jet engine ("Calculate" in the
// "Full Analysis" frame): compressor rise, the turbine work that drives it from a turbine inlet
// temperature of 788 deg. C, and what is left for the jet nozzle.

#include "turbo_fields.hpp"

namespace turbo {

// The three single-precision values the calculation keeps along the way.
struct CycleIntermediates {
    float compressorPr = 0.0f;        // PRc, absolute discharge over ambient pressure
    float turbineOutletKelvin = 0.0f; // T4
    float nozzleTempDrop = 0.0f;      // dTn
};

// Writes the twelve cycle results from m_MassFlow, m_P2, the three efficiencies and the ambient
// temperature and pressure; changes no other field. Nothing is validated: infinities and NaN
// from odd inputs go on into the results.
CycleIntermediates calcFullAnalysis(TurboFields& f);

} // namespace turbo
