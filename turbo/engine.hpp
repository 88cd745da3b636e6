#pragma once
// One candidate engine worked out at once, as the Turbo Analysis window would with its three
// "Calculate" buttons: the compressor's maximum speed, the wheel's mass-flow estimate, and the
// full cycle with either the typed mass flow or that estimate. The Design Explorer and
// vorlaxen-calc engine both call this, so a row of the one and a line of the other agree.
//
// Its inputs and results are the rows of fields::kEngineFields, in order: an input is a number
// field the engine reads, a result one it only writes. A row added there is an input or result
// here, with its default; the formula reads and writes it as in[input("key")], r[result("key")].

#include "calculation_fields.hpp"
#include "engine_cycle.hpp"
#include "fuel.hpp"
#include "operating.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace turbo {

enum class MassFlowSource {
    Typed,    // the mass flow as given
    Estimate, // the wheel's estimate from the inducer and hub, as "Calculate" in "Mass Flow
              // Rate" carries it into the full analysis
    Turbine,  // what the turbine passes, a nozzle of area turbine-area at the cycle's pressures
};
// Its words are the field's choices, by the source's number.
static_assert(fields::kMassFlowSources.size() == 3 && fields::kMassFlowSources[0] == "typed" &&
                  fields::kMassFlowSources[1] == "estimate" &&
                  fields::kMassFlowSources[2] == "turbine",
              "one word per mass-flow source, in the order of the enumeration");

constexpr bool isEngineInput(const fields::Field& f) {
    return f.kind == fields::Kind::Number && f.role != fields::Role::Out;
}
constexpr bool isEngineResult(const fields::Field& f) {
    return f.role == fields::Role::Out;
}

namespace detail {
// The field's position among those that pass the test; an unknown key does not compile.
consteval std::size_t position(bool (*test)(const fields::Field&), std::string_view key) {
    std::size_t n = 0;
    for (const auto& f : fields::kEngineFields) {
        if (f.key == key && test(f))
            return n;
        n += test(f) ? 1 : 0;
    }
    throw std::invalid_argument("not a field of the engine");
}
} // namespace detail

inline constexpr auto kEngineInputCount =
    static_cast<std::size_t>(std::ranges::count_if(fields::kEngineFields, isEngineInput));
inline constexpr auto kEngineResultCount =
    static_cast<std::size_t>(std::ranges::count_if(fields::kEngineFields, isEngineResult));
inline constexpr std::size_t kFuelField = *fields::findField(fields::kEngineFields, "fuel");
inline constexpr std::size_t kMassFlowSourceField =
    *fields::findField(fields::kEngineFields, "mass-flow-source");

// An input or result by its position among the engine's inputs or results. The names are for
// the code that picks one out; each takes its position from the table by key, so none can drift.
enum class EngineInput : std::size_t {
    CompOutletDiameter = detail::position(isEngineInput, "comp-outlet-diameter"),
    InducerDiameter = detail::position(isEngineInput, "inducer-diameter"),
    HubDiameter = detail::position(isEngineInput, "hub-diameter"),
    MassFlow = detail::position(isEngineInput, "mass-flow"),
    P2 = detail::position(isEngineInput, "p2"),
    CompEfficiency = detail::position(isEngineInput, "comp-efficiency"),
    TurbineEfficiency = detail::position(isEngineInput, "turbine-efficiency"),
    NozzleEfficiency = detail::position(isEngineInput, "nozzle-efficiency"),
    AmbientTemp = detail::position(isEngineInput, "ambient-temp"),
    AmbientPressure = detail::position(isEngineInput, "ambient-pressure"),
    TurbineInletTemp = detail::position(isEngineInput, "turbine-inlet-temp"),
    MeasuredTurbineOutletTemp = detail::position(isEngineInput, "measured-turbine-outlet-temp"),
};
enum class EngineResult : std::size_t {
    MaxRpm = detail::position(isEngineResult, "max-rpm"),
    MassFlowEstimate = detail::position(isEngineResult, "mass-flow-estimate"),
    CompTempRise = detail::position(isEngineResult, "comp-temp-rise"),
    CompDischargeTemp = detail::position(isEngineResult, "comp-discharge-temp"),
    TurbineTempDrop = detail::position(isEngineResult, "turbine-temp-drop"),
    TurbineOutletTemp = detail::position(isEngineResult, "turbine-outlet-temp"),
    TurbinePrRequired = detail::position(isEngineResult, "turbine-pr-required"),
    NozzlePr = detail::position(isEngineResult, "nozzle-pr"),
    NozzleExitTemp = detail::position(isEngineResult, "nozzle-exit-temp"),
    NozzleVelocity = detail::position(isEngineResult, "nozzle-velocity"),
    NozzleDiameter = detail::position(isEngineResult, "nozzle-diameter"),
    Thrust = detail::position(isEngineResult, "thrust"),
};

// Any input or result by key, for formulas that need no name of their own.
consteval EngineInput input(std::string_view key) {
    return EngineInput{detail::position(isEngineInput, key)};
}
consteval EngineResult result(std::string_view key) {
    return EngineResult{detail::position(isEngineResult, key)};
}

// Numbers in the forms' units: inches, psi (P2 gauge), deg. C, lb/s, percent.
struct EngineInputs {
    MassFlowSource massFlowSource = MassFlowSource::Typed;
    Fuel fuel = Fuel::Kerosene;
    std::array<float, kEngineInputCount> values{}; // by EngineInput

    // Every input at its default: the Turbo Analysis window's, and its fixed turbine inlet
    // temperature.
    EngineInputs();

    float& operator[](EngineInput i) { return values[static_cast<std::size_t>(i)]; }
    float operator[](EngineInput i) const { return values[static_cast<std::size_t>(i)]; }
};

struct EngineResults {
    std::array<float, kEngineResultCount> values{}; // by EngineResult
    float massFlow = 0; // the mass flow the cycle used: typed, the estimate or the turbine's
    // The turbine inlet temperature the cycle used: the one given, or the one solved from the
    // measured outlet temperature when that is given (inletSolved).
    float turbineInletTemp = 0;
    bool inletSolved = false;
    CycleIntermediates cycle;
    FuelResults fuel; // the fuel results with the reasons for their gaps (point::evaluatePoint)

    float& operator[](EngineResult r) { return values[static_cast<std::size_t>(r)]; }
    float operator[](EngineResult r) const { return values[static_cast<std::size_t>(r)]; }
};

// The figures the window would show for these inputs, bit for bit: max RPM as "Calculate" in
// "Max Turbo RPM", the estimate as "Calculate" in "Mass Flow Rate", and the cycle as "Calculate"
// in "Full Analysis" after it (with the estimate carried over when the candidate asks for it).
// A measured turbine outlet temperature, when given, wins over the turbine inlet temperature.
// The inputs are taken as they stand (the ambient given); fuel and limits are not worked out.
// This is a step of point::evaluatePoint, which every caller uses.
EngineResults evaluateEngine(const EngineInputs& inputs);

// The turbine inlet temperature at which these inputs give this turbine outlet temperature (see
// solveTurbineInletTemp); the candidate's own inlet temperature plays no part.
float solveTurbineInletTemp(const EngineInputs& inputs, float turbineOutletTemp);

// Where each input and result is described in fields::kEngineFields.
std::size_t engineFieldIndex(EngineInput input);
std::size_t engineFieldIndex(EngineResult result);
const fields::Field& engineField(EngineInput input);
const fields::Field& engineField(EngineResult result);

} // namespace turbo
