#pragma once
// One steady-state operating point of a turbocharger jet engine ("Calculate" in the
// "Full Analysis" frame): compressor rise, the turbine work that drives it from a turbine inlet
// temperature (788 deg. C in the window), and what is left for the jet nozzle.

#include "turbo_constants.hpp"
#include "turbo_fields.hpp"

namespace turbo {

// The turbine inlet temperature the window holds fixed (deg. C).
inline constexpr float kDefaultTurbineInletTemp =
    fields::formField(kTurboAnalysisTemplate, "turbine-inlet-temp").defaultValue;

// What the calculation works out along the way: three values it keeps in single precision, and
// the share of its inlet heat the turbine must take out, drop / (efficiency x inlet temperature
// in K), which it uses unrounded (the turbine can drive the compressor only while it is below 1).
struct CycleIntermediates {
    float compressorPr = 0.0f;        // PRc, absolute discharge over ambient pressure
    float turbineOutletKelvin = 0.0f; // T4
    float nozzleTempDrop = 0.0f;      // dTn
    double turbineShare = 0.0;
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

// The turbine inlet temperature (deg. C) at which the cycle gives this turbine outlet temperature,
// for a builder who measures the exhaust and not the inlet. The outlet is the inlet less the
// turbine temperature drop, and the drop depends on the compressor only, so the inlet is the
// outlet plus the drop, settled on the float that gives the outlet back exactly. Where the inlet
// is in a higher power of two than the outlet its floats are spaced wider, and not every outlet
// float is reachable: the cycle then gives the nearest outlet it can, within one float step of the
// solved inlet temperature. NaN and infinities pass through.
float solveTurbineInletTemp(const TurboFields& f, float turbineOutletTemp);
// The same from the turbine temperature drop the cycle gives.
float turbineInletTempFor(float turbineTempDrop, float turbineOutletTemp);

} // namespace turbo
