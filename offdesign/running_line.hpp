#pragma once
// Where a fixed engine runs: its turbine (a nozzle of effective area A_t) and its jet nozzle (a
// fixed convergent area) must pass the same air. At each P2 the compressor's work is set, so the
// turbine inlet temperature is the one unknown, found where the two flows agree; air flow, thrust
// and fuel follow. Through the P2 range this is the engine's running line (Saravanamuttoo et al.,
// Gas Turbine Theory, off-design chapter: the equilibrium running line of a single-shaft jet;
// Walsh & Fletcher, Gas Turbine Performance, on matching).
//
// Without a nozzle area the turbine inlet temperature stays the one given, and the air flow is
// what the turbine passes at it: the "turbine" mass-flow source of a single point.
//
// With a compressor map the line is placed on it: its speed from the speed lines, its surge
// margin, and, when asked, its compressor efficiency from the islands, iterated until the island
// holding the point is the one whose efficiency made it. The map's speeds are corrected speeds,
// so holding a map speed at another ambient holds the corrected speed.

#include "compressor_map.hpp"
#include "engine_point.hpp"
#include "fuel.hpp"
#include "limits.hpp"
#include "matching.hpp"

#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace offdesign {

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
// The hottest turbine inlet temperature searched for a balance, deg. C: far past any turbine.
inline constexpr double kHottestSearched = 3000;

// Why a point of the line has no figures.
enum class LineGap : unsigned char {
    None,
    NotANumber,     // an input is not a number
    NoArea,         // an area is not above 0 and finite (the design point gave none)
    NoBoost,        // the combustor's loss takes all the boost: the nozzle cannot flow
    NoBalance,      // no turbine inlet temperature up to kHottestSearched balances the flows
    TurbineTooWeak, // at the given inlet temperature the turbine cannot drive the compressor
    NoJet,          // at the given inlet temperature nothing is left for the nozzle
    OutsideIslands, // the efficiency is asked from the map and the point is outside every island
};
std::string_view lineGapText(LineGap gap);

struct LineSetup {
    EngineAssumptions assumed;
    double turbineArea = kNoValue; // sq. in.
    double nozzleArea = kNoValue;  // sq. in.; not a number: inlet temperature held at fixedTit
    double fixedTit = 788;         // deg. C
    const compmap::CompressorMap* map = nullptr;
    bool efficiencyFromMap = false;
    turbo::FuelInputs fuel;
    turbo::Limits limits;
    double compOutletDiameter = 4.3; // in., for the tip speed at the map's speed
};

// Both areas from a design point: those that pass its mass flow at its P2 and inlet temperature,
// so that the line runs through it.
struct Areas {
    double turbine;
    double nozzle;
};
Areas designAreas(const EngineAssumptions& assumed, double p2, double tit, double massFlow);

struct LinePoint {
    double p2 = kNoValue; // psig
    LineGap gap = LineGap::None;
    CyclePoint cycle;
    double massFlow = kNoValue;       // lb/s
    double thrust = kNoValue;         // lbf
    double residual = kNoValue;       // (turbine flow - nozzle flow) / turbine flow
    double compEfficiency = kNoValue; // % the point used
    turbo::FuelResults fuel;
    std::optional<compmap::MatchFigures> onMap;
    double rpm = kNoValue;      // the map's corrected speed at this ambient
    double tipSpeed = kNoValue; // ft/s at that rpm
    turbo::LimitExcess limits;
    bool surges = false;
    bool overSpeed = false;

    // A figure, turbine inlet temperature within its limit, and thrust.
    bool selfSustaining(const turbo::Limits& limits) const;
    // The first limit it is past, in the order of Limit, then surge and the map's top speed;
    // "" for none.
    std::string_view limitPassed() const;
};

struct LineSummary {
    std::optional<double> idleP2; // the lowest self-sustaining P2 in the range
    // Going up from the first point clear of every limit, where the first limit is reached.
    std::optional<double> firstLimitP2;
    std::string_view firstLimit;      // its key
    std::optional<double> surgeP2;    // where the line crosses the surge line
    std::optional<double> topSpeedP2; // where it crosses the top speed line
};

class RunningLine {
public:
    // Looks along P2 from p2Low to p2High in `steps` for the events of the summary.
    RunningLine(LineSetup setup, double p2Low, double p2High, int steps = 48);

    LinePoint at(double p2) const;
    // Where the line reaches this map speed (corrected rpm); nullopt where it does not in the range
    // or there is no map.
    std::optional<LinePoint> atSpeed(double speed) const;
    const LineSummary& summary() const { return summary_; }
    const LineSetup& setup() const { return setup_; }

private:
    LineSetup setup_;
    std::vector<LinePoint> grid_;
    LineSummary summary_;
};

} // namespace offdesign
