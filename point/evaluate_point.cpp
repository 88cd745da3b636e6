#include "evaluate_point.hpp"

#include "atmosphere.hpp"
#include "turbo_constants.hpp"

#include <cmath>
#include <limits>

namespace point {

namespace {

using turbo::input;
using turbo::isNotGiven;
using turbo::notGiven;
using turbo::result;
using D = double;

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

// Step 1: the inputs not given, worked out. Each ambient value on its own: typed, else the
// altitude's, else the window's; nothing of the altitude outside the modelled atmosphere.
void workOutAmbient(turbo::EngineInputs& in, bool& fromAltitude) {
    float& temp = in[EngineInput::AmbientTemp];
    float& pressure = in[EngineInput::AmbientPressure];
    if (!isNotGiven(temp) && !isNotGiven(pressure))
        return;
    const float altitude = in[input("altitude")];
    fromAltitude = !std::isnan(altitude);
    const turbo::Ambient a =
        std::isnan(altitude)
            ? turbo::Ambient{turbo::engineField(EngineInput::AmbientTemp).defaultValue,
                             turbo::engineField(EngineInput::AmbientPressure).defaultValue}
            : turbo::standardAmbient(altitude);
    if (isNotGiven(temp))
        temp = a.temp;
    if (isNotGiven(pressure))
        pressure = a.pressure;
}

// A named fuel's properties are its own; one typed over them (and differing) makes the fuel
// custom, the other property kept from the named fuel. A custom fuel takes the rows' defaults
// for what is not typed.
void workOutFuel(turbo::EngineInputs& in) {
    float& lhv = in[input("fuel-lhv")];
    float& density = in[input("fuel-density")];
    if (in.fuel == turbo::Fuel::Custom) {
        if (isNotGiven(lhv))
            lhv = turbo::engineField(input("fuel-lhv")).defaultValue;
        if (isNotGiven(density))
            density = turbo::engineField(input("fuel-density")).defaultValue;
        return;
    }
    const auto& own = turbo::fuelProperties(in.fuel);
    const auto differs = [](float typed, float ownValue) {
        return !isNotGiven(typed) && !(typed == ownValue);
    };
    if (differs(lhv, own.lowerHeatingValue) || differs(density, own.density))
        in.fuel = turbo::Fuel::Custom;
    if (isNotGiven(lhv))
        lhv = own.lowerHeatingValue;
    if (isNotGiven(density))
        density = own.density;
}

compmap::OperatingPoint placeOf(const turbo::EngineInputs& used, const turbo::EngineResults& r) {
    return {r.massFlow, r.cycle.compressorPr, used[EngineInput::AmbientTemp],
            used[EngineInput::AmbientPressure]};
}

// The wheel's tip speed at a speed in rpm: the circumference in feet times the turns a second,
// the inverse of the maximum speed's formula.
float tipSpeedAt(float rpm, float outletDiameter) {
    return static_cast<float>(D(rpm) * (D(turbo::kPi) * D(outletDiameter) / turbo::kInchesPerFoot) /
                              turbo::kSecondsPerMinute);
}

// Step 4 outside every island: only the wheel's figures, which need no efficiency, remain.
void withoutCycle(turbo::EngineResults& r) {
    for (std::size_t i = 0; i < turbo::kEngineResultCount; ++i) {
        const auto which = static_cast<EngineResult>(i);
        if (which != EngineResult::MaxRpm && which != EngineResult::MassFlowEstimate)
            r[which] = kNone;
    }
}

} // namespace

turbo::EngineInputs defaultInputs() {
    turbo::EngineInputs in;
    in[EngineInput::AmbientTemp] = notGiven();
    in[EngineInput::AmbientPressure] = notGiven();
    in[input("fuel-lhv")] = notGiven();
    in[input("fuel-density")] = notGiven();
    return in;
}

turbo::EngineInputs workedOutInputs(const turbo::EngineInputs& inputs) {
    turbo::EngineInputs in = inputs;
    bool fromAltitude = false;
    workOutAmbient(in, fromAltitude);
    workOutFuel(in);
    return in;
}

Point evaluatePoint(const PointInputs& inputs) {
    Point p;
    p.used = inputs.engine;
    auto& used = p.used;
    workOutAmbient(used, p.ambientFromAltitude);
    workOutFuel(used);

    // Step 2, inputs outside their physical range, belongs here.

    // Step 3 (and 4 with the map's efficiency): the cycle.
    p.results = turbo::evaluateEngine(used);
    if (inputs.map) {
        p.onMap = compmap::match(*inputs.map, placeOf(used, p.results));
        if (inputs.efficiencyFromMap) {
            if (const auto efficiency = p.onMap->efficiency) {
                used[EngineInput::CompEfficiency] = *efficiency;
                p.results = turbo::evaluateEngine(used);
            } else {
                p.outsideIslands = true;
                used[EngineInput::CompEfficiency] = kNone;
                withoutCycle(p.results);
            }
        }
    }
    auto& r = p.results;
    used[EngineInput::MassFlow] = r.massFlow;
    used[EngineInput::TurbineInletTemp] = r.turbineInletTemp;

    // Step 5: fuel and limits.
    const turbo::FuelInputs fuel =
        turbo::fuelInputs(used.fuel, used[input("fuel-lhv")], used[input("fuel-density")],
                          used[input("combustion-efficiency")]);
    r.fuel = turbo::calcFuel(fuel, r[EngineResult::CompDischargeTemp], r.turbineInletTemp,
                             r.massFlow, r[EngineResult::Thrust]);
    r[result("fuel-air-ratio")] = r.fuel[turbo::FuelResult::FuelAirRatio];
    r[result("fuel-flow")] = r.fuel[turbo::FuelResult::FuelFlow];
    r[result("fuel-volume-flow")] = r.fuel[turbo::FuelResult::FuelVolumeFlow];
    r[result("tsfc")] = r.fuel[turbo::FuelResult::Tsfc];

    if (!p.outsideIslands) {
        turbo::Limits limits;
        limits[turbo::Limit::TurbineInletTemp] = used[input("turbine-inlet-temp-limit")];
        limits[turbo::Limit::TurbineOutletTemp] = used[input("turbine-outlet-temp-limit")];
        limits[turbo::Limit::TipSpeed] = used[input("tip-speed-limit")];
        limits[turbo::Limit::NozzleCriticalPr] = used[input("nozzle-critical-pr")];
        const bool mapSpeed = p.onMap && p.onMap->speed;
        p.limits = turbo::checkLimits(
            limits, {.turbineInletTemp = r.turbineInletTemp,
                     .turbineOutletTemp = r[EngineResult::TurbineOutletTemp],
                     .tipSpeed = mapSpeed ? tipSpeedAt(*p.onMap->speed,
                                                       used[EngineInput::CompOutletDiameter])
                                          : used[input("tip-speed")],
                     .nozzlePr = r[EngineResult::NozzlePr],
                     .surgeMargin = p.onMap ? p.onMap->surgeMargin.value_or(kNone) : kNone});
        p.limitSet = turbo::limitSet(p.limits);
    }
    r[result("limits")] = static_cast<float>(p.limitSet);
    return p;
}

} // namespace point
