#include "flow_function.hpp"

#include "turbo_constants.hpp"

#include <algorithm>
#include <cmath>

namespace turbo {

Gas cycleGas() {
    return {1 / (1 - kGasExponent), double(kGasConstant), kGravity};
}

double criticalPressureRatio(const Gas& gas) {
    return std::pow((gas.gamma + 1) / 2, gas.gamma / (gas.gamma - 1));
}

double flowFunction(const Gas& gas, double pressureRatio) {
    return flowFunction(gas, pressureRatio, criticalPressureRatio(gas));
}

double flowFunction(const Gas& gas, double pressureRatio, double criticalRatio) {
    if (std::isnan(pressureRatio))
        return pressureRatio;
    if (!(pressureRatio > 1))
        return 0;
    const double r = std::min(pressureRatio, criticalRatio);
    // Pressure in lb/sq ft and area in sq ft: their product is that in psi and sq. in.
    const double k = std::sqrt(2 * gas.gravity * gas.gamma / ((gas.gamma - 1) * gas.gasConstant));
    return k * std::pow(r, -1 / gas.gamma) *
           std::sqrt(1 - std::pow(r, -(gas.gamma - 1) / gas.gamma));
}

double turbineFlow(double area, double p3, double pressureRatio, double inletKelvin) {
    static const Gas gas = cycleGas();
    static const double critical = criticalPressureRatio(gas);
    return area * p3 * flowFunction(gas, pressureRatio, critical) / std::sqrt(inletKelvin);
}

} // namespace turbo
