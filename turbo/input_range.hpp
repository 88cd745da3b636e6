#pragma once
// The inputs of an operating point checked against what is physically possible, before any figure
// is worked out: the formulas give plausible-looking thrust for an ambient of -300 deg. C or an
// efficiency of 200 %, so such a point gets its reason instead of figures.

#include <optional>
#include <string>
#include <string_view>

namespace turbo {

// At or below this no temperature is possible (deg. C; the kelvin's definition, not the cycle's
// rounded 273).
inline constexpr double kAbsoluteZeroCelsius = -273.15;

// In the forms' units. NaN for an input not given (the measured outlet temperature, the
// altitude); ambient values not given (turbo::notGiven) are filled from the altitude later.
struct RangeInputs {
    float ambientTemp, ambientPressure; // deg. C; psi absolute
    float p2;                           // psi gauge
    float compEfficiency, turbineEfficiency, nozzleEfficiency, combustionEfficiency; // %
    float turbineInletTemp, measuredTurbineOutletTemp;                               // deg. C
    float altitude;                                                                  // m
};

struct RangeProblem {
    std::string_view key; // the input's field key, e.g. "ambient-temp"
    std::string reason;   // without the input's name: "is at or below absolute zero ..."
};

// The first input outside its range, or nothing. An altitude counts only where it gives an
// ambient value that was not typed.
std::optional<RangeProblem> inputRangeProblem(const RangeInputs& in);

// The same for a candidate engine's inputs; with efficiencyFromMap its typed compressor
// efficiency, which the map replaces, is not checked.
struct EngineInputs;
std::optional<RangeProblem> inputRangeProblem(const EngineInputs& in, bool efficiencyFromMap);

} // namespace turbo
