#pragma once
// Temperature-dependent heat capacities of dry air and of the products of burning a kerosene-type
// fuel in it, and the fuel-air ratio an enthalpy balance gives with them.
//
// The polynomials are those of Walsh & Fletcher, Gas Turbine Performance (2nd ed., chapter 3,
// formulae F3.23 and F3.24): with TZ = T / 1000 K,
//   cp of dry air        = A0 + A1 TZ + ... + A8 TZ^8                         kJ/(kg K)
//   cp of the products   = cp of air + FAR / (1 + FAR) x (B0 + B1 TZ + ... + B7 TZ^7)
// valid from 200 to 2000 K. Enthalpies are their integrals, so only differences mean anything.

namespace turbo::gas {

inline constexpr double kKelvinAtZeroCelsius = 273.15;
// The heating values of the fuel table are lower heating values at 25 deg. C, fuel and air
// entering at that temperature, water leaving as vapour.
inline constexpr double kHeatingValueReference = 298.15; // K

double airSpecificHeat(double kelvin);                  // kJ/(kg K)
double productsSpecificHeat(double kelvin, double far); // kJ/(kg K), per kg of products
// Integral of the air polynomial from 0 K, kJ/kg.
double airEnthalpy(double kelvin);
// Integral of the products' correction polynomial from 0 K, kJ per kg of fuel burned.
double fuelCorrectionEnthalpy(double kelvin);

// The fuel per kg of air that heats air entering at t2 to products at t3 (both K): air at t2 and
// fuel at the reference temperature go in, products at t3 come out, and the fuel releases
// efficiency x heating value (kJ/kg) per kg. With the products' enthalpy (1 + f) h_air + f h_B:
//   f = (h_air(t3) - h_air(t2)) / (eta LHV - (h_air(t3) - h_air(ref)) - (h_B(t3) - h_B(ref)))
// Not finite or negative where no fuel does it; the caller names why.
struct FuelAirBalance {
    double heatNeeded; // kJ per kg of air, h_air(t3) - h_air(t2)
    double heatLeft;   // kJ per kg of fuel left to heat the air once its products are heated
};
FuelAirBalance fuelAirBalance(double t2, double t3, double heatingValue, double efficiency);

// Fuel per kg of air for complete burning of a fuel CH_y: (12.011 + 1.008 y) kg of fuel need
// (1 + y / 4) x 31.999 kg of oxygen, and dry air is 23.14 % oxygen by mass.
double stoichiometricFuelAirRatio(double hydrogenPerCarbon);

} // namespace turbo::gas
