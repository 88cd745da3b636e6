// Why a point has no figure for a result: the formulas followed from the inputs down to the
// result, naming the first step that leaves the numbers. Worked out only when asked, so a point
// whose figures all exist costs nothing here.

#include "evaluate_point.hpp"

#include "atmosphere.hpp"
#include "number_text.hpp"

#include <cmath>
#include <initializer_list>

namespace point {

namespace {

using turbo::input;
using turbo::result;

// How far down the formulas a result sits.
enum class Stage { Wheel, Estimate, Compressor, Turbine, Nozzle, Fuel, None };

Stage stageOf(EngineResult r) {
    if (r == result("fuel-air-ratio") || r == result("fuel-flow") ||
        r == result("fuel-volume-flow") || r == result("tsfc"))
        return Stage::Fuel;
    if (r == result("limits"))
        return Stage::None;
    switch (r) {
    case EngineResult::MaxRpm:
        return Stage::Wheel;
    case EngineResult::MassFlowEstimate:
        return Stage::Estimate;
    case EngineResult::CompTempRise:
    case EngineResult::CompDischargeTemp:
    case EngineResult::TurbineTempDrop:
    case EngineResult::TurbineOutletTemp:
        return Stage::Compressor;
    case EngineResult::TurbinePrRequired:
    case EngineResult::NozzlePr:
        return Stage::Turbine;
    default:
        return Stage::Nozzle;
    }
}

Reason because(Why why) {
    return Reason{.why = why};
}

// The first of these inputs the point used that is not a finite number. An ambient value worked
// out from an altitude outside the atmosphere says so.
std::optional<Reason> badInput(const Point& p, std::initializer_list<EngineInput> list) {
    for (const auto in : list)
        if (!std::isfinite(p.used[in])) {
            const bool ambient =
                in == EngineInput::AmbientTemp || in == EngineInput::AmbientPressure;
            if (ambient && p.ambientFromAltitude)
                return because(Why::AltitudeOutsideAtmosphere);
            if (in == EngineInput::TurbineInletTemp && p.results.inletSolved)
                return Reason{.why = Why::InputNotFinite,
                              .input = EngineInput::MeasuredTurbineOutletTemp};
            return Reason{.why = Why::InputNotFinite, .input = in};
        }
    return std::nullopt;
}

Reason cycleReason(const Point& p, Stage stage) {
    using I = EngineInput;
    const auto& in = p.used;
    const auto& r = p.results;
    if (stage == Stage::Wheel) {
        if (auto bad = badInput(p, {I::CompOutletDiameter}))
            return *bad;
        return because(in[I::CompOutletDiameter] == 0 ? Why::OutletDiameterZero : Why::Other);
    }
    if (stage == Stage::Estimate)
        return badInput(p, {I::InducerDiameter, I::HubDiameter}).value_or(because(Why::Other));
    if (p.outsideIslands)
        return because(Why::OutsideIslands);

    if (auto bad = badInput(
            p, {I::P2, I::AmbientPressure, I::AmbientTemp, I::CompEfficiency, I::TurbineInletTemp}))
        return *bad;
    if (in[I::AmbientPressure] == 0)
        return because(Why::AmbientPressureZero);
    if (r.cycle.compressorPr < 0)
        return because(Why::NegativePressure);
    if (in[I::CompEfficiency] == 0)
        return because(Why::CompEfficiencyZero);
    if (stage == Stage::Compressor)
        return because(Why::Other);

    if (auto bad = badInput(p, {I::TurbineEfficiency}))
        return *bad;
    if (in[I::TurbineEfficiency] == 0)
        return because(Why::TurbineEfficiencyZero);
    if (!(r.cycle.turbineShare < 1))
        return because(Why::TurbineTooWeak);
    if (stage == Stage::Turbine)
        return because(Why::Other);

    if (auto bad = badInput(p, {I::NozzleEfficiency, input("pressure-loss")}))
        return *bad;
    if (!std::isfinite(r.massFlow))
        return Reason{.why = Why::InputNotFinite, .input = I::MassFlow};
    const float nozzlePr = r[EngineResult::NozzlePr];
    if (nozzlePr < 0)
        return because(Why::BelowPressureLoss);
    if (nozzlePr < 1)
        return because(Why::NozzlePrBelowOne);
    if (nozzlePr == 1)
        return because(Why::NozzlePrOne);
    if (in[I::NozzleEfficiency] == 0)
        return because(Why::NozzleEfficiencyZero);
    if (r.massFlow < 0)
        return because(Why::NegativeMassFlow);
    return because(Why::Other);
}

turbo::FuelResult fuelResultOf(EngineResult r) {
    if (r == result("fuel-air-ratio"))
        return turbo::FuelResult::FuelAirRatio;
    if (r == result("fuel-flow"))
        return turbo::FuelResult::FuelFlow;
    if (r == result("fuel-volume-flow"))
        return turbo::FuelResult::FuelVolumeFlow;
    return turbo::FuelResult::Tsfc;
}

} // namespace

Reason reasonFor(const Point& p, EngineResult r) {
    if (std::isfinite(p.results[r]))
        return because(Why::None);
    const Stage stage = stageOf(r);
    if (stage == Stage::None)
        return because(Why::None);
    if (stage != Stage::Fuel)
        return cycleReason(p, stage);
    // The fuel names its own reasons; where it only says the cycle gave no figure, the cycle's
    // reason is the one to give.
    const turbo::FuelGap gap = p.results.fuel.gap(fuelResultOf(r));
    if (p.outsideIslands)
        return because(Why::OutsideIslands);
    if (gap == turbo::FuelGap::CycleNotFinite)
        return cycleReason(p, Stage::Compressor);
    if (gap == turbo::FuelGap::NoThrust && !std::isfinite(p.results[EngineResult::Thrust]))
        return cycleReason(p, Stage::Nozzle);
    if (gap == turbo::FuelGap::NoMassFlow && !std::isfinite(p.results.massFlow))
        return Reason{.why = Why::InputNotFinite, .input = EngineInput::MassFlow};
    return Reason{.why = Why::Fuel, .fuel = gap};
}

std::string reasonText(const Point& p, const Reason& reason) {
    const auto name = [](EngineInput in) {
        return std::string(fields::plainLabel(turbo::engineField(in)));
    };
    switch (reason.why) {
    case Why::None:
        return "";
    case Why::InputNotFinite:
        return name(reason.input) + " is not a finite number";
    case Why::OutOfRange:
        return name(reason.input) + " is outside its physical range";
    case Why::AltitudeOutsideAtmosphere:
        return "altitude outside the standard atmosphere modelled (" +
               fields::formatFloat(static_cast<float>(turbo::kLowestAltitude)) + " to " +
               fields::formatFloat(static_cast<float>(turbo::kTropopause)) + " m)";
    case Why::OutletDiameterZero:
        return "compressor outlet diameter 0";
    case Why::AmbientPressureZero:
        return "ambient pressure 0";
    case Why::NegativePressure:
        return "compressor PR below 0";
    case Why::CompEfficiencyZero:
        return "compressor efficiency 0";
    case Why::TurbineEfficiencyZero:
        return "turbine efficiency 0";
    case Why::TurbineTooWeak:
        return "turbine efficiency too low to drive the compressor";
    case Why::BelowPressureLoss:
        return "compressor PR below the pressure loss of " +
               fields::formatFloat(p.used[input("pressure-loss")]);
    case Why::NozzlePrBelowOne:
        return "nozzle PR below 1";
    case Why::NozzlePrOne:
        return "nozzle PR 1, no jet velocity";
    case Why::NozzleEfficiencyZero:
        return "nozzle efficiency 0, no jet velocity";
    case Why::NegativeMassFlow:
        return "mass flow below 0";
    case Why::OutsideIslands:
        return "compressor efficiency from the map: " + std::string(kOutsideIslands);
    case Why::Fuel:
        return std::string(turbo::fuelGapText(reason.fuel));
    case Why::Other:
        break;
    }
    return "the formulas give no finite figure";
}

} // namespace point
