#pragma once
// One candidate engine worked out at once, as the Turbo Analysis window would with its three
// "Calculate" buttons: the compressor's maximum speed, the wheel's mass-flow estimate, and the
// full cycle with either the typed mass flow or that estimate. The Design Explorer and
// vorlaxen-calc engine both call this, so a row of the one and a line of the other agree.

#include "calculation_fields.hpp"

#include <array>
#include <cstddef>

namespace turbo {

enum class MassFlowSource {
    Typed,    // the mass flow as given
    Estimate, // the wheel's estimate from the inducer and hub, as "Calculate" in "Mass Flow
              // Rate" carries it into the full analysis
};

// The number inputs, in the order of fields::kEngineFields (which has the mass-flow source
// between the hub diameter and the mass flow).
enum class EngineInput : std::size_t {
    CompOutletDiameter,
    InducerDiameter,
    HubDiameter,
    MassFlow,
    P2,
    CompEfficiency,
    TurbineEfficiency,
    NozzleEfficiency,
    AmbientTemp,
    AmbientPressure,
    TurbineInletTemp,
};
inline constexpr std::size_t kEngineInputCount = 11;

// The results, in the order of fields::kEngineFields: max RPM, the mass-flow estimate and the
// twelve cycle results as the form shows them.
enum class EngineResult : std::size_t {
    MaxRpm,
    MassFlowEstimate,
    CompTempRise,
    CompDischargeTemp,
    TurbineTempDrop,
    TurbineOutletTemp,
    TurbinePrRequired,
    NozzlePr,
    NozzleExitTemp,
    NozzleVelocity,
    NozzleOutletDensity,
    NozzleArea,
    NozzleDiameter,
    Thrust,
};
inline constexpr std::size_t kEngineResultCount = 14;

// Numbers in the forms' units: inches, psi (P2 gauge), deg. C, lb/s, percent.
struct EngineInputs {
    MassFlowSource massFlowSource = MassFlowSource::Typed;
    std::array<float, kEngineInputCount> values{}; // by EngineInput

    // The Turbo Analysis window's defaults and a turbine inlet temperature of 788 deg. C.
    EngineInputs();

    float& operator[](EngineInput i) { return values[static_cast<std::size_t>(i)]; }
    float operator[](EngineInput i) const { return values[static_cast<std::size_t>(i)]; }
};

struct EngineResults {
    std::array<float, kEngineResultCount> values{}; // by EngineResult
    float massFlow = 0; // the mass flow the cycle used: the typed one or the estimate

    float operator[](EngineResult r) const { return values[static_cast<std::size_t>(r)]; }
};

// The figures the window would show for these inputs, bit for bit: max RPM as "Calculate" in
// "Max Turbo RPM", the estimate as "Calculate" in "Mass Flow Rate", and the cycle as "Calculate"
// in "Full Analysis" after it (with the estimate carried over when the candidate asks for it).
EngineResults evaluateEngine(const EngineInputs& inputs);

// The turbine inlet temperature at which these inputs give this turbine outlet temperature (see
// solveTurbineInletTemp); the candidate's own inlet temperature plays no part.
float solveTurbineInletTemp(const EngineInputs& inputs, float turbineOutletTemp);

// Where each input and result is described in fields::kEngineFields.
const fields::Field& engineField(EngineInput input);
const fields::Field& engineField(EngineResult result);
std::size_t engineFieldIndex(EngineInput input);
std::size_t engineFieldIndex(EngineResult result);
inline constexpr std::size_t kMassFlowSourceField = 3; // index in fields::kEngineFields

} // namespace turbo
