#pragma once
// The two unit systems a value can be shown in, and one table of the quantities with their exact
// factors. The calculations always run in the forms' units; a value is converted only where it is
// typed or shown.

#include <optional>
#include <span>
#include <string_view>

namespace fields {

// The exact definitions every factor is derived from, for calculations that convert too.
inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kKilogramsPerPound = 0.45359237;
inline constexpr double kStandardGravity = 9.80665; // m/s², also N per kgf
// 1 psi = 1 lbf / (0.0254 m)²; the double nearest to the exact quotient.
inline constexpr double kPascalsPerPsi = 6894.757293168362;

enum class UnitSystem {
    Forms,  // in, sq. in., psi (P2 gauge), deg. C, lb/s, ft/s, cu ft/lb, lbf, as the windows use
    Metric, // mm, mm², bar (P2 gauge, ambient absolute), deg. C, kg/s, m/s, m³/kg, N
};

// What a number measures, which decides how it is converted and which unit text it carries.
enum class Quantity {
    None,            // a plain number or ratio, the same in both systems
    Length,          // in / mm
    Area,            // sq. in. / mm²
    GaugePressure,   // psig / bar g (P2: above the ambient pressure)
    Pressure,        // psi / bar, absolute (the ambient pressure)
    Temperature,     // deg. C in both, also for temperature differences
    MassFlow,        // lb/s / kg/s
    Velocity,        // ft/s / m/s
    SpecificVolume,  // cu ft/lb / m³/kg
    Force,           // lbf / N
    Speed,           // rpm in both
    Percent,         // % in both
    FuelFlow,        // lb/h / kg/h, fuel by mass
    VolumeFlow,      // L/h in both, fuel by volume
    FuelConsumption, // lb/(lbf·h) / g/(kN·s), fuel per thrust
    HeatingValue,    // MJ/kg in both
    Density,         // kg/L in both
    Altitude,        // m in both, as airfields are given
};

struct QuantityInfo {
    Quantity quantity;
    std::string_view formsUnit;  // as the windows write it beside a box ("" for none)
    std::string_view metricUnit; // UTF-8 ("mm²", "m³/kg")
    double metricPerForms;       // metric value = forms value x this
};

// Every quantity once, in the order of the enumeration.
std::span<const QuantityInfo> quantities();
const QuantityInfo& quantityInfo(Quantity quantity);

std::string_view unitText(Quantity quantity, UnitSystem system);

// Display units per forms' unit: 1 in the forms' units, metricPerForms in metric.
double displayPerForms(Quantity quantity, UnitSystem system);

// A value in the forms' units as shown in the given system: float(double(value) x factor). In
// the forms' units the value comes back unchanged, bit for bit (NaN and infinities included).
float toDisplay(Quantity quantity, UnitSystem system, float formsValue);

// A value typed in the given system, in the forms' units for the calculation:
// float(double(value) / factor); unchanged in the forms' units.
float fromDisplay(Quantity quantity, UnitSystem system, float displayValue);

// Units a quantity can also be shown in, beside those of the two systems: thrust in kgf, mass
// flow in lb/min (as compressor maps give it), fuel by volume in mL/min.
struct OtherUnit {
    Quantity quantity;
    std::string_view text;
    double perForms; // value in this unit = forms value x this
};
std::span<const OtherUnit> otherUnits();

// The factor from the forms' unit to the unit with this text, of either system or another unit
// of the quantity; nothing when the quantity has no such unit.
std::optional<double> perFormsOf(Quantity quantity, std::string_view unit);

// "forms" and "metric", for settings and files.
std::string_view systemKey(UnitSystem system);
std::optional<UnitSystem> systemFromKey(std::string_view key);

} // namespace fields
