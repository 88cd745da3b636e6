#pragma once
// The figures worked out after the cycle for one operating point: the fuel it burns and the
// limits it goes past. vorlaxen-calc cycle and the engine (the Design Explorer's rows and
// vorlaxen-calc engine) both call this, so their figures agree bit for bit.

#include "fuel.hpp"
#include "limits.hpp"
#include "turbo_fields.hpp"

namespace turbo {

// The four limits in the order of Limit.
Limits limitsOf(float turbineInletTemp, float turbineOutletTemp, float tipSpeed, float nozzlePr);

struct PointFigures {
    FuelResults fuel;
    LimitExcess limits;
    unsigned limitSet = 0; // the exceeded limits as bits, in the order of Limit
};

// From the fields the cycle has just written (its mass flow, discharge and outlet temperatures,
// nozzle PR, thrust), the turbine inlet temperature and the tip speed it ran at.
PointFigures pointFigures(const TurboFields& f, float turbineInletTemp, float tipSpeed,
                          const FuelInputs& fuel, const Limits& limits);

// The ambient values still to be given, marked so: a run starts with these in the ambient fields
// and replaces them from the altitude (or the defaults) when nothing was typed over them.
float notGiven();
bool isNotGiven(float value);

// Fills ambient temperature and pressure that were not given, from the altitude (not a number:
// no altitude, and the window's defaults stand).
void fillAmbient(float altitude, float& ambientTemp, float& ambientPressure);

} // namespace turbo
