#pragma once
// A candidate engine's flame tube: what the tube takes from a candidate, in the forms' units as
// the candidates hold them, and the tube, its checks and its section from that. The explorer and
// its sheet call only this, so where the figures come from can change without touching the tube.

#include "checks.hpp"
#include "section.hpp"
#include "tube.hpp"
#include "units.hpp"

#include <array>
#include <optional>
#include <string>

namespace flametube {

// In the forms' units: inches, lb/s, psi (P2 gauge, ambient absolute), deg. C, lb/h.
struct CandidateFigures {
    float inducerDiameter = 0;
    float compOutletDiameter = 0;
    float massFlow = 0;
    float p2 = 0;
    float ambientPressure = 0;
    float compDischargeTemp = 0; // T2
    std::optional<float> fuelFlow;
    std::optional<float> nozzleDiameter;
};

struct NamedFigures {
    std::string name;
    std::optional<CandidateFigures> figures; // none when the candidate cannot be computed
};

// How a candidate's tube is drilled; drills in the tube's unit (the window's presets when none).
struct DrillChoice {
    std::optional<std::array<float, 3>> drills;
    std::optional<DrillSeries> series; // the unit system's own when none
    std::array<double, 3> positions = TubeInput::defaultPositions();
};

// The window's unit for a unit system: inches for the forms' units, millimetres for metric.
int unitIndexFor(fields::UnitSystem units);

// The tube as the Combustor window sizes it for the inducer diameter shown in `units`.
TubePlan candidateTube(const CandidateFigures& figures, fields::UnitSystem units,
                       const DrillChoice& choice = {});
CycleAir cycleAir(const CandidateFigures& figures);
EngineOutline engineOutline(const CandidateFigures& figures);

} // namespace flametube
