#include "units.hpp"

#include "enum_table.hpp"

#include <array>
#include <cstddef>

namespace fields {

namespace {

// Everything is derived from the definitions in the header: 1 in = 25.4 mm, 1 ft = 0.3048 m,
// 1 lb = 0.45359237 kg, standard gravity 9.80665 m/s².
// 1 lbf = 0.45359237 kg x 9.80665 m/s² = 4.4482216152605 N, a decimal that is exact.
constexpr double kNewtonsPerPoundForce = 4.4482216152605;
// 25.4², exact as a decimal.
constexpr double kSquareMillimetresPerSquareInch = 645.16;
// 1 psi = 1 lbf / (0.0254 m)² = 6894.757293168361... Pa; the double nearest to the exact quotient
// in bar (one rounding, where computing it in doubles would round three times).
constexpr double kBarPerPsi = 0.06894757293168362;
// 1 cu ft/lb = 0.3048³ m³ / 0.45359237 kg; the double nearest to the exact quotient.
constexpr double kCubicMetresPerKilogramPerCubicFootPerPound = 0.06242796057614461;

// 1 lb/(lbf h) = 1 / 9.80665 kg/(N h) = 10⁶ / (9.80665 x 3600) g/(kN s); the nearest double.
constexpr double kGramsPerKilonewtonSecondPerPoundPerPoundForceHour = 28.325450360498007;
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
constexpr int kMillilitresPerLitre = 1000;

constexpr std::array<QuantityInfo, 18> kQuantities{{
    {Quantity::None, "", "", 1},
    {Quantity::Length, "in.", "mm", kMillimetresPerInch},
    {Quantity::Area, "sq. in.", "mm²", kSquareMillimetresPerSquareInch},
    {Quantity::GaugePressure, "psig", "bar g", kBarPerPsi},
    {Quantity::Pressure, "psi", "bar", kBarPerPsi},
    {Quantity::Temperature, "deg. C", "deg. C", 1},
    {Quantity::MassFlow, "lb/s", "kg/s", kKilogramsPerPound},
    {Quantity::Velocity, "ft./sec.", "m/s", kMetresPerFoot},
    {Quantity::SpecificVolume, "cu ft/lb.", "m³/kg", kCubicMetresPerKilogramPerCubicFootPerPound},
    {Quantity::Force, "lbs.", "N", kNewtonsPerPoundForce},
    {Quantity::Speed, "rpm", "rpm", 1},
    {Quantity::Percent, "%", "%", 1},
    {Quantity::FuelFlow, "lb/h", "kg/h", kKilogramsPerPound},
    {Quantity::VolumeFlow, "L/h", "L/h", 1},
    {Quantity::FuelConsumption, "lb/(lbf·h)", "g/(kN·s)",
     kGramsPerKilonewtonSecondPerPoundPerPoundForceHour},
    {Quantity::HeatingValue, "MJ/kg", "MJ/kg", 1},
    {Quantity::Density, "kg/L", "kg/L", 1},
    {Quantity::Altitude, "m", "m", 1},
}};

// 1 lbf = 0.45359237 kgf exactly, since 1 kgf = 9.80665 N; 50/3 is the nearest double.
constexpr std::array<OtherUnit, 3> kOtherUnits{{
    {Quantity::Force, "kgf", kKilogramsPerPound},
    {Quantity::MassFlow, "lb/min", kSecondsPerMinute},
    {Quantity::VolumeFlow, "mL/min", double(kMillilitresPerLitre) / kMinutesPerHour},
}};

static_assert(fields::inEnumOrder(kQuantities, &QuantityInfo::quantity),
              "the table is looked up by the quantity's number");

} // namespace

std::span<const QuantityInfo> quantities() {
    return kQuantities;
}

const QuantityInfo& quantityInfo(Quantity quantity) {
    return kQuantities[static_cast<std::size_t>(quantity)];
}

std::string_view unitText(Quantity quantity, UnitSystem system) {
    const auto& q = quantityInfo(quantity);
    return system == UnitSystem::Forms ? q.formsUnit : q.metricUnit;
}

double displayPerForms(Quantity quantity, UnitSystem system) {
    return system == UnitSystem::Forms ? 1.0 : quantityInfo(quantity).metricPerForms;
}

float toDisplay(Quantity quantity, UnitSystem system, float formsValue) {
    if (system == UnitSystem::Forms)
        return formsValue;
    return static_cast<float>(static_cast<double>(formsValue) *
                              quantityInfo(quantity).metricPerForms);
}

float fromDisplay(Quantity quantity, UnitSystem system, float displayValue) {
    if (system == UnitSystem::Forms)
        return displayValue;
    return static_cast<float>(static_cast<double>(displayValue) /
                              quantityInfo(quantity).metricPerForms);
}

std::span<const OtherUnit> otherUnits() {
    return kOtherUnits;
}

std::optional<double> perFormsOf(Quantity quantity, std::string_view unit) {
    const auto& q = quantityInfo(quantity);
    if (unit == q.formsUnit)
        return 1.0;
    if (unit == q.metricUnit)
        return q.metricPerForms;
    for (const auto& other : kOtherUnits)
        if (other.quantity == quantity && other.text == unit)
            return other.perForms;
    return std::nullopt;
}

std::string_view systemKey(UnitSystem system) {
    return system == UnitSystem::Forms ? "forms" : "metric";
}

std::optional<UnitSystem> systemFromKey(std::string_view key) {
    if (key == "forms")
        return UnitSystem::Forms;
    if (key == "metric")
        return UnitSystem::Metric;
    return std::nullopt;
}

} // namespace fields
