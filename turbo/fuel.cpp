#include "fuel.hpp"

#include "calculation_fields.hpp"
#include "gas_properties.hpp"
#include "text.hpp"
#include "turbo_constants.hpp"
#include "units.hpp"

#include <cmath>
#include <limits>

namespace turbo {

namespace {

// The words are the fuel field's own choices, by the fuel's number.
using fields::kFuelWords;
constexpr std::array<FuelProperties, 4> kFuels{{
    {Fuel::Kerosene, kFuelWords[0], 43.2f, 0.80f, 23.0 / 12.0},
    {Fuel::Diesel, kFuelWords[1], 42.8f, 0.84f, 1.8},
    {Fuel::Propane, kFuelWords[2], 46.3f, 0.51f, 8.0 / 3.0},
    {Fuel::Custom, kFuelWords[3], std::numeric_limits<float>::quiet_NaN(),
     std::numeric_limits<float>::quiet_NaN(), 23.0 / 12.0},
}};

constexpr bool inEnumOrder() {
    for (std::size_t i = 0; i < kFuels.size(); ++i)
        if (static_cast<std::size_t>(kFuels[i].fuel) != i || kFuels[i].key != kFuelWords[i])
            return false;
    return true;
}
static_assert(kFuels.size() == kFuelWords.size() && inEnumOrder(),
              "one word per fuel, in the order of the enumeration");
// The field's default word is the enumeration's default.
static_assert(static_cast<std::size_t>(Fuel{}) == 0);

constexpr int kKilojoulesPerMegajoule = 1000;
constexpr int kPercent = 100;

} // namespace

std::span<const FuelProperties> fuels() {
    return kFuels;
}

const FuelProperties& fuelProperties(Fuel fuel) {
    return kFuels[static_cast<std::size_t>(fuel)];
}

std::optional<Fuel> fuelFromKey(std::string_view key) {
    for (const auto& f : kFuels)
        if (text::sameIgnoringCase(f.key, key))
            return f.fuel;
    return std::nullopt;
}

FuelInputs fuelInputs(Fuel fuel, float typedHeatingValue, float typedDensity,
                      float combustionEfficiency) {
    const auto& p = fuelProperties(fuel);
    if (fuel == Fuel::Custom)
        return {typedHeatingValue, typedDensity, combustionEfficiency, p.hydrogenPerCarbon};
    return {p.lowerHeatingValue, p.density, combustionEfficiency, p.hydrogenPerCarbon};
}

std::string_view fuelGapText(FuelGap gap) {
    switch (gap) {
    case FuelGap::None:
        return "";
    case FuelGap::CycleNotFinite:
        return "no compressor discharge or turbine inlet temperature";
    case FuelGap::FuelNotFinite:
        return "fuel heating value, density or combustion efficiency not a number";
    case FuelGap::HotAlready:
        return "compressed air already hotter than the turbine inlet needs";
    case FuelGap::FuelTooWeak:
        return "fuel cannot heat the gas to the turbine inlet temperature";
    case FuelGap::NoMassFlow:
        return "mass flow below 0 or not a number";
    case FuelGap::NoDensity:
        return "fuel density 0 or below";
    case FuelGap::NoThrust:
        return "no thrust";
    case FuelGap::Rich:
        return "more fuel than the air can burn (beyond the stoichiometric fuel-air ratio)";
    }
    return "";
}

// Every step in double precision in the order written, rounded to float where stored; a result
// without a figure is NaN and carries its reason on to the results computed from it.
FuelResults calcFuel(const FuelInputs& fuel, float compDischargeTemp, float turbineInletTemp,
                     float massFlow, float thrust) {
    using D = double;
    constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
    FuelResults r;
    r.values.fill(kNone);
    auto stopAt = [&r](FuelResult from, FuelGap gap) {
        for (auto i = static_cast<std::size_t>(from); i < kFuelResultCount; ++i)
            r.gaps[i] = gap;
        return r;
    };
    auto set = [&r](FuelResult result, D value) {
        const auto v = static_cast<float>(value);
        r.values[static_cast<std::size_t>(result)] = v;
        return v;
    };

    if (!std::isfinite(compDischargeTemp) || !std::isfinite(turbineInletTemp))
        return stopAt(FuelResult::FuelAirRatio, FuelGap::CycleNotFinite);
    if (!std::isfinite(fuel.lowerHeatingValue) || !std::isfinite(fuel.combustionEfficiency))
        return stopAt(FuelResult::FuelAirRatio, FuelGap::FuelNotFinite);
    const D t2 = D(compDischargeTemp) + gas::kKelvinAtZeroCelsius;
    const D t3 = D(turbineInletTemp) + gas::kKelvinAtZeroCelsius;
    const auto balance =
        gas::fuelAirBalance(t2, t3, D(fuel.lowerHeatingValue) * kKilojoulesPerMegajoule,
                            D(fuel.combustionEfficiency) / kPercent);
    if (balance.heatNeeded < 0)
        return stopAt(FuelResult::FuelAirRatio, FuelGap::HotAlready);
    if (!(balance.heatLeft > 0))
        return stopAt(FuelResult::FuelAirRatio, FuelGap::FuelTooWeak);
    // A heat barely above the need gives a ratio beyond the float range: no figure either.
    if (!std::isfinite(static_cast<float>(balance.heatNeeded / balance.heatLeft)))
        return stopAt(FuelResult::FuelAirRatio, FuelGap::FuelTooWeak);
    if (balance.heatNeeded / balance.heatLeft >
        gas::stoichiometricFuelAirRatio(fuel.hydrogenPerCarbon))
        return stopAt(FuelResult::FuelAirRatio, FuelGap::Rich);
    const D far = set(FuelResult::FuelAirRatio, balance.heatNeeded / balance.heatLeft);

    if (!(massFlow >= 0) || !std::isfinite(massFlow))
        return stopAt(FuelResult::FuelFlow, FuelGap::NoMassFlow);
    const D fuelFlow = set(FuelResult::FuelFlow, far * D(massFlow) * kSecondsPerHour);

    // The volume and the consumption each have their own further reason.
    auto& volumeGap = r.gaps[static_cast<std::size_t>(FuelResult::FuelVolumeFlow)];
    if (!std::isfinite(fuel.density))
        volumeGap = FuelGap::FuelNotFinite;
    else if (!(fuel.density > 0))
        volumeGap = FuelGap::NoDensity;
    else
        set(FuelResult::FuelVolumeFlow, fuelFlow * fields::kKilogramsPerPound / D(fuel.density));

    if (!(thrust > 0) || !std::isfinite(thrust))
        return stopAt(FuelResult::Tsfc, FuelGap::NoThrust);
    set(FuelResult::Tsfc, fuelFlow / D(thrust));
    return r;
}

} // namespace turbo
