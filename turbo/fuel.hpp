#pragma once
// Fuel burned at one operating point, worked out after the cycle from the figures it stored: the
// fuel-air ratio that heats the compressor's discharge to the turbine inlet temperature, the fuel
// flow by mass and by volume, and the fuel per pound of thrust. Thrust stays the cycle's; the
// fuel's own mass is not added to the jet.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace turbo {

enum class Fuel { Kerosene, Diesel, Propane, Custom };

// A fuel's lower heating value and liquid density, held as the floats a typed value would be, so
// that "custom" with the same numbers typed in gives the same figures bit for bit.
//   Kerosene (Jet A-1): 43.2 MJ/kg, 0.80 kg/L. The specifications (ASTM D1655, DEF STAN 91-091)
//     ask at least 42.8 MJ/kg and 0.775 to 0.840 kg/L at 15 deg. C; 43.2 and 0.80 are typical.
//   Diesel: 42.8 MJ/kg, 0.84 kg/L; EN 590 allows 0.820 to 0.845 kg/L at 15 deg. C.
//   Propane: 46.3 MJ/kg (46.35 in the usual tables of net heating values), 0.51 kg/L as a liquid
//     under its own vapour pressure near 15 deg. C.
// Custom has no values of its own: the typed ones are used, and kerosene's composition.
// The heating values are at 25 deg. C (see gas_properties.hpp). The hydrogen-to-carbon ratio gives
// the stoichiometric fuel-air ratio: kerosene as C12H23, diesel as CH1.8, propane C3H8.
struct FuelProperties {
    Fuel fuel;
    std::string_view key;    // as typed on the command line and stored in files
    float lowerHeatingValue; // MJ/kg
    float density;           // kg/L
    double hydrogenPerCarbon;
};
std::span<const FuelProperties> fuels(); // in the order of the enumeration
const FuelProperties& fuelProperties(Fuel fuel);
std::optional<Fuel> fuelFromKey(std::string_view key); // any case

inline constexpr float kDefaultCombustionEfficiency = 95.0f; // percent

struct FuelInputs {
    float lowerHeatingValue = 43.2f;                           // MJ/kg
    float density = 0.80f;                                     // kg/L
    float combustionEfficiency = kDefaultCombustionEfficiency; // percent
    double hydrogenPerCarbon = 23.0 / 12.0;                    // kerosene's
};

// The fuel's values, or the typed ones for Custom.
FuelInputs fuelInputs(Fuel fuel, float typedHeatingValue, float typedDensity,
                      float combustionEfficiency);

enum class FuelResult : std::size_t {
    FuelAirRatio,   // kg of fuel per kg of air
    FuelFlow,       // lb/h
    FuelVolumeFlow, // L/h
    Tsfc,           // lb/(lbf h)
};
inline constexpr std::size_t kFuelResultCount = 4;

// Why a fuel result has no figure. The formulas would give a negative, infinite or NaN number
// here; none of those is a fuel flow, so the result is NaN and this says why.
enum class FuelGap : unsigned char {
    None,
    CycleNotFinite, // the compressor discharge or turbine inlet temperature is not a number
    FuelNotFinite,  // the heating value, density or combustion efficiency is not a number
    HotAlready,     // the compressed air holds more heat than the turbine inlet needs
    FuelTooWeak,    // the burned fuel's heat cannot reach the turbine inlet temperature
    NoMassFlow,     // the mass flow is below 0 or not a number
    NoDensity,      // the density is 0 or below
    NoThrust,       // the thrust is 0, below 0 or not a number
    Rich,           // more fuel than the air can burn: beyond the stoichiometric ratio
};
std::string_view fuelGapText(FuelGap gap);

struct FuelResults {
    std::array<float, kFuelResultCount> values{}; // by FuelResult; NaN where gaps says why
    std::array<FuelGap, kFuelResultCount> gaps{};

    float operator[](FuelResult r) const { return values[static_cast<std::size_t>(r)]; }
    FuelGap gap(FuelResult r) const { return gaps[static_cast<std::size_t>(r)]; }
};

// From the cycle's stored compressor discharge temperature (deg. C), the turbine inlet
// temperature (deg. C), the mass flow the cycle used (lb/s) and its thrust (lbf). The fuel-air
// ratio is an enthalpy balance with temperature-dependent properties (gas::fuelAirBalance), the
// combustion efficiency taking its share of the heat released. Double precision in the order
// written, each result rounded to float where stored.
FuelResults calcFuel(const FuelInputs& fuel, float compDischargeTemp, float turbineInletTemp,
                     float massFlow, float thrust);

} // namespace turbo
