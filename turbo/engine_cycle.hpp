#pragma once
// One steady-state operating point of a turbocharger jet engine ("Calculate" in the
// "Full Analysis" frame): compressor rise, the turbine work that drives it from a turbine inlet
// temperature (788 deg. C in the window), and what is left for the jet nozzle.

#include "turbo_constants.hpp"
#include "turbo_fields.hpp"

namespace turbo {

// The turbine inlet temperature the window holds fixed: the most the turbine takes in steady
// running.
inline constexpr float kDefaultTurbineInletTemp = 788.0f; // deg. C

// The three single-precision values the calculation keeps along the way.
struct CycleIntermediates {
    float compressorPr = 0.0f;        // PRc, absolute discharge over ambient pressure
    float turbineOutletKelvin = 0.0f; // T4
    float nozzleTempDrop = 0.0f;      // dTn
};

// Writes the twelve cycle results from m_MassFlow, m_P2, the three efficiencies, the ambient
// temperature and pressure, the turbine inlet temperature (deg. C) and the pressure loss taken
// off the compressor pressure ratio ahead of the nozzle; changes no other field. Nothing is
// validated: infinities and NaN from odd inputs go on into the results.
CycleIntermediates calcFullAnalysis(TurboFields& f,
                                    float turbineInletTemp = kDefaultTurbineInletTemp,
                                    double pressureLoss = kCombustorPrLoss);

// A typed number as the decimal its box shows, in double precision: a typed pressure loss of 0.1
// is then the double 0.1 the formula has always used, not the float nearest to 0.1, and the
// figures stay those of the window.
double typedDecimal(float typed);

} // namespace turbo
