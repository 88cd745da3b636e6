#pragma once
// The cycle worked out in double precision for the engine's own matching: the same formulas and
// constants as the Full Analysis, unrounded, so that the flows through the turbine and the jet
// nozzle can be balanced to far below a float's step. The turbine is taken as a nozzle of
// effective area A_t and the jet nozzle as convergent (see Saravanamuttoo et al., Gas Turbine
// Theory, the off-design chapter: the flow compatibility between turbine and nozzle of a
// single-shaft jet engine; Walsh & Fletcher, Gas Turbine Performance, on turbine capacity).

#include <string_view>

namespace offdesign {

// How the combustor's pressure loss is taken: the Full Analysis takes a fixed amount off the
// compressor pressure ratio; a fixed fraction of the combustor's inlet pressure is the usual
// design figure (Walsh & Fletcher give 2 to 8 % for combustors, Saravanamuttoo 2 to 8 % as well).
enum class CombustorLoss { RatioOffset, PercentOfP3 };
inline constexpr std::string_view kCombustorLossWords[] = {"ratio", "percent"};

// An engine apart from its P2 and turbine inlet temperature, in the forms' units.
struct EngineAssumptions {
    double compEfficiency = 70;    // %
    double turbineEfficiency = 78; // %
    double nozzleEfficiency = 90;  // %
    double ambientTemp = 15;       // deg. C
    double ambientPressure = 14.7; // psi, absolute
    CombustorLoss loss = CombustorLoss::RatioOffset;
    double lossValue = 0.1; // off the ratio, or % of the combustor's inlet pressure
};

struct CyclePoint {
    double p2 = 0;  // psig
    double tit = 0; // deg. C
    double compressorPr = 0;
    double compTempRise = 0;      // K
    double compDischargeTemp = 0; // deg. C
    double turbineTempDrop = 0;   // K
    double turbineShare = 0;      // of the inlet heat the turbine must take; it drives below 1
    double turbinePr = 0;
    double turbineOutletTemp = 0; // deg. C
    double ambientPressure = 0;   // psi, absolute
    double p3 = 0;                // psi, turbine inlet
    double nozzlePr = 0;          // turbine outlet over ambient pressure
    bool nozzleChoked = false;
    double nozzleExitTemp = 0;    // deg. C
    double nozzleVelocity = 0;    // ft/s
    double exitPressure = 0;      // psi, at the nozzle's exit
    double nozzleFlowPerArea = 0; // lb/s per sq. in. of nozzle exit; 0 where nothing flows out
};

CyclePoint cycleAt(const EngineAssumptions& assumed, double p2, double tit);

// The turbine as a nozzle: W = A_t P3 phi(turbine PR) / sqrt(T3). Fuel mass is left out, as in
// the cycle's thrust.
double turbineFlow(const CyclePoint& p, double turbineArea);
double nozzleFlow(const CyclePoint& p, double nozzleArea);
// Momentum and, for a choked nozzle, pressure thrust (lbf).
double thrust(const CyclePoint& p, double massFlow, double nozzleArea);

// The areas (sq. in.) that pass this mass flow at this point.
double turbineAreaFor(const CyclePoint& p, double massFlow);
double nozzleAreaFor(const CyclePoint& p, double massFlow);

} // namespace offdesign
