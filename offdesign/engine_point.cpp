#include "engine_point.hpp"

#include "flow_function.hpp"
#include "turbo_constants.hpp"

#include <cmath>

namespace offdesign {

namespace {

constexpr double kPercent = 100;

// Worked out once: every point of a line needs them several times.
const turbo::Gas& gas() {
    static const turbo::Gas g = turbo::cycleGas();
    return g;
}
double critical() {
    static const double c = turbo::criticalPressureRatio(gas());
    return c;
}

double kelvin(double celsius) {
    return celsius + turbo::kZeroCelsiusInKelvin;
}

} // namespace

// The Full Analysis step by step, without its roundings to float.
CyclePoint cycleAt(const EngineAssumptions& s, double p2, double tit) {
    using namespace turbo;
    CyclePoint p;
    p.p2 = p2;
    p.tit = tit;
    const double pa = s.ambientPressure;
    p.ambientPressure = pa;
    p.compressorPr = (p2 + pa) / pa;
    p.compTempRise = (std::pow(p.compressorPr, kAirExponent) - 1) * kelvin(s.ambientTemp) /
                     (s.compEfficiency / kPercent);
    p.compDischargeTemp = p.compTempRise + s.ambientTemp;
    p.turbineTempDrop =
        p.compTempRise * kAirSpecificHeat / kGasSpecificHeat / kMechanicalEfficiency;
    p.turbineShare = p.turbineTempDrop / (s.turbineEfficiency / kPercent * kelvin(tit));
    p.turbinePr = std::pow(-1 / (p.turbineShare - 1), kGasExponentInverse);
    p.turbineOutletTemp = tit - p.turbineTempDrop;
    p.p3 = s.loss == CombustorLoss::RatioOffset
               ? (p.compressorPr - s.lossValue) * pa
               : p.compressorPr * pa * (1 - s.lossValue / kPercent);
    p.nozzlePr = p.p3 / p.turbinePr / pa;
    p.nozzleChoked = p.nozzlePr > critical();
    const double expansion = p.nozzleChoked ? critical() : p.nozzlePr;
    const double t4 = kelvin(p.turbineOutletTemp);
    const double dTn =
        (t4 - t4 / std::pow(expansion, kGasExponent)) * (s.nozzleEfficiency / kPercent);
    p.nozzleExitTemp = t4 - dTn - kZeroCelsiusInKelvin;
    p.nozzleVelocity = std::sqrt(dTn * kTwiceGravity * kWorkPerHeat * kGasSpecificHeat);
    p.exitPressure = p.nozzleChoked ? p.p3 / p.turbinePr / critical() : pa;
    // Density p / (R T) times velocity, per sq. in.: psi x 144 / (R T) / 144.
    p.nozzleFlowPerArea =
        p.nozzlePr > 1 && p.turbineShare < 1
            ? p.nozzleVelocity * p.exitPressure / (kelvin(p.nozzleExitTemp) * kGasConstant)
            : 0;
    return p;
}

double turbineFlow(const CyclePoint& p, double turbineArea) {
    if (!(p.turbineShare < 1))
        return 0;
    return turbineArea * p.p3 * turbo::flowFunction(gas(), p.turbinePr, critical()) /
           std::sqrt(kelvin(p.tit));
}

double nozzleFlow(const CyclePoint& p, double nozzleArea) {
    return nozzleArea * p.nozzleFlowPerArea;
}

double thrust(const CyclePoint& p, double massFlow, double nozzleArea) {
    const double momentum = massFlow / turbo::kGravity * p.nozzleVelocity;
    if (!p.nozzleChoked)
        return momentum;
    return momentum + (p.exitPressure - p.ambientPressure) * nozzleArea;
}

double turbineAreaFor(const CyclePoint& p, double massFlow) {
    return massFlow * std::sqrt(kelvin(p.tit)) /
           (p.p3 * turbo::flowFunction(gas(), p.turbinePr, critical()));
}

double nozzleAreaFor(const CyclePoint& p, double massFlow) {
    return massFlow / p.nozzleFlowPerArea;
}

} // namespace offdesign
