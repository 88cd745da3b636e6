#include "gas_properties.hpp"

#include <array>

namespace turbo::gas {

namespace {

// Walsh & Fletcher, Gas Turbine Performance, F3.23 (dry air) and F3.24 (kerosene products).
constexpr std::array<double, 9> kAir{0.992313, 0.236688,  -1.852148, 6.083152, -8.893933,
                                     7.097112, -3.234725, 0.794571,  -0.081873};
constexpr std::array<double, 8> kProducts{-0.718874,  8.747481, -15.863157, 17.254096,
                                          -10.233795, 3.081778, -0.361112,  -0.003919};
constexpr double kKelvinPerUnit = 1000; // TZ = T / 1000

template <std::size_t N> double polynomial(const std::array<double, N>& c, double z) {
    double sum = 0;
    for (std::size_t i = N; i-- > 0;)
        sum = sum * z + c[i];
    return sum;
}

// The integral from 0 of the polynomial in T, in kJ/kg.
template <std::size_t N> double integral(const std::array<double, N>& c, double kelvin) {
    const double z = kelvin / kKelvinPerUnit;
    double sum = 0;
    for (std::size_t i = N; i-- > 0;)
        sum = sum * z + c[i] / double(i + 1);
    return sum * z * kKelvinPerUnit;
}

constexpr double kCarbon = 12.011;      // kg/kmol
constexpr double kHydrogen = 1.008;     // kg/kmol
constexpr double kOxygen = 31.999;      // kg/kmol of O2
constexpr double kOxygenInAir = 0.2314; // mass fraction in dry air

} // namespace

double airSpecificHeat(double kelvin) {
    return polynomial(kAir, kelvin / kKelvinPerUnit);
}

double productsSpecificHeat(double kelvin, double far) {
    return airSpecificHeat(kelvin) +
           far / (1 + far) * polynomial(kProducts, kelvin / kKelvinPerUnit);
}

double airEnthalpy(double kelvin) {
    return integral(kAir, kelvin);
}

double fuelCorrectionEnthalpy(double kelvin) {
    return integral(kProducts, kelvin);
}

FuelAirBalance fuelAirBalance(double t2, double t3, double heatingValue, double efficiency) {
    const double airAtT3 = airEnthalpy(t3);
    return {airAtT3 - airEnthalpy(t2),
            efficiency * heatingValue - (airAtT3 - airEnthalpy(kHeatingValueReference)) -
                (fuelCorrectionEnthalpy(t3) - fuelCorrectionEnthalpy(kHeatingValueReference))};
}

double stoichiometricFuelAirRatio(double hydrogenPerCarbon) {
    return (kCarbon + kHydrogen * hydrogenPerCarbon) /
           ((1 + hydrogenPerCarbon / 4) * kOxygen / kOxygenInAir);
}

} // namespace turbo::gas
