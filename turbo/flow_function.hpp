#pragma once
// The compressible flow function: how much gas a nozzle of unit area passes for its inlet total
// pressure and temperature and its pressure ratio. Isentropic flow of a perfect gas (e.g.
// Saravanamuttoo et al., Gas Turbine Theory, the nozzle and off-design chapters):
//   W sqrt(T0) / (A P0) = sqrt(2 g gamma / ((gamma - 1) R)) x r^(-1/gamma) x sqrt(1 -
//   r^(-(gamma-1)/gamma))
// with r = P0 / p the ratio across the nozzle. At the critical ratio ((gamma + 1) / 2)^(gamma /
// (gamma - 1)) the throat reaches sonic speed; beyond it the flow stays there (choked).

namespace turbo {

struct Gas {
    double gamma;       // ratio of specific heats
    double gasConstant; // ft lbf/(lb K)
    double gravity;     // ft/s², lb to slug
};

// The cycle's hot gas: (gamma - 1) / gamma = 0.248, R = 96 ft lbf/(lb K), g = 32.2 ft/s², the
// constants the cycle's nozzle uses.
Gas cycleGas();

double criticalPressureRatio(const Gas& gas);

// W sqrt(T0) / (A P0) in lb/s sqrt(K) / (sq. in. psi) for a ratio r = P0 / p. 0 at r = 1 and
// below (no flow forward), the choked value from the critical ratio on. NaN for NaN.
double flowFunction(const Gas& gas, double pressureRatio);
// The same with the gas's critical ratio already worked out.
double flowFunction(const Gas& gas, double pressureRatio, double criticalRatio);

// What a turbine of effective area A (sq. in.) passes, lb/s, at inlet pressure p3 (psi), its
// pressure ratio and inlet temperature (K): A p3 phi(ratio) / sqrt(T3), with the cycle's gas.
double turbineFlow(double area, double p3, double pressureRatio, double inletKelvin);

} // namespace turbo
