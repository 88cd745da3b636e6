#pragma once
// One operating point of a candidate engine, worked out from its inputs to every figure in one
// place: vorlaxen-calc cycle, engine and fit, and the Design Explorer's table, curves, maps and
// sheet all call evaluatePoint and nothing else, so no figure is worked out two ways.
//
// The steps, in order:
//   1. the inputs not given (turbo::notGiven) are worked out: the ambient temperature and
//      pressure from the altitude by the standard atmosphere, else the Turbo Analysis window's
//      15 deg. C and 14.7 psi, each of the two on its own (a typed value always wins); a named
//      fuel's heating value and density are its own;
//   2. inputs outside their physical range would stop here with their reason (not checked yet);
//   3. the wheel's speed and mass-flow estimate, the mass flow the cycle takes (typed or the
//      estimate), the turbine inlet temperature (solved from a measured outlet temperature when
//      given), the cycle with the pressure loss;
//   4. with a map: the point's place on it, and the compressor efficiency read off it when asked
//      (the point's place does not depend on the efficiency, so it is found first);
//   5. the fuel, and the limits the point goes past (the map's speed and surge margin among them).
// A figure the formulas cannot give is NaN, and reasonFor says why.

#include "compressor_map.hpp"
#include "engine.hpp"
#include "limits.hpp"
#include "matching.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace point {

// Why a point has no figures when its efficiency comes from the map and the map has none there.
inline constexpr std::string_view kOutsideIslands = "outside every efficiency island of the map";

using turbo::EngineInput;
using turbo::EngineResult;

struct PointInputs {
    // Inputs in the forms' units; the ambient values and fuel properties may be turbo::notGiven.
    turbo::EngineInputs engine;
    const compmap::CompressorMap* map = nullptr; // the point is put on it when given
    bool efficiencyFromMap = false; // the compressor efficiency read off the map (needs a map)
};

// The inputs a new point starts with: the engine's defaults, with the ambient values and the
// fuel's properties not given, so that the altitude and the fuel chosen decide them.
turbo::EngineInputs defaultInputs();

struct Point {
    // The inputs as the point used them: ambient and fuel properties worked out, the mass flow
    // the cycle took, the turbine inlet temperature solved, the efficiency read off the map (NaN
    // outside every island), and the fuel "custom" where a property was typed over a named one.
    turbo::EngineInputs used;
    // Every result by EngineResult, NaN where there is no figure; the cycle's intermediates and
    // whether the inlet temperature was solved.
    turbo::EngineResults results;
    turbo::LimitExcess limits;
    unsigned limitSet = 0;                      // the exceeded limits as bits, in Limit's order
    std::optional<compmap::MatchFigures> onMap; // with a map
    bool outsideIslands = false;      // efficiency from the map asked, and the map has none here
    bool ambientFromAltitude = false; // an ambient value worked out from the altitude

    float operator[](EngineResult r) const { return results[r]; }
};

Point evaluatePoint(const PointInputs& inputs);

// Step 1 alone: the inputs with the ambient values and fuel properties worked out, for a caller
// that varies other inputs around them (the fit).
turbo::EngineInputs workedOutInputs(const turbo::EngineInputs& inputs);

// Why a result has no figure.
enum class Why : unsigned char {
    None,
    InputNotFinite, // Reason::input is not a number or infinite
    // Reserved for inputs outside their physical range, once they are checked.
    OutOfRange,
    AltitudeOutsideAtmosphere,
    OutletDiameterZero,
    AmbientPressureZero,
    NegativePressure,
    CompEfficiencyZero,
    TurbineEfficiencyZero,
    TurbineTooWeak,
    BelowPressureLoss,
    NozzlePrBelowOne,
    NozzlePrOne,
    NozzleEfficiencyZero,
    NegativeMassFlow,
    OutsideIslands,
    Fuel, // Reason::fuel says why
    Other,
};

struct Reason {
    Why why = Why::None;
    EngineInput input = EngineInput::CompOutletDiameter; // for InputNotFinite and OutOfRange
    turbo::FuelGap fuel = turbo::FuelGap::None;          // for Fuel
};

// Why the point has no figure for this result (Why::None when it has one): the first step of the
// formulas, from the inputs down to the result, that leaves the numbers.
Reason reasonFor(const Point& point, EngineResult result);

// The reason in words for a person, e.g. "compressor PR below the pressure loss of 0.5".
std::string reasonText(const Point& point, const Reason& reason);

} // namespace point
