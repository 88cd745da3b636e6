#pragma once
// A candidate's run log on the explorer's chart and in its table: each measured point as a marker
// on the curve of the quantity it measured, placed at the point's own value of the swept input.

#include "candidates.hpp"
#include "curves.hpp"
#include "run_log.hpp"

#include <optional>
#include <vector>

namespace explorer {

struct Marker {
    float x = 0;          // display units of the swept input
    float y = 0;          // display units of the result
    std::size_t line = 0; // in the log
};

// The result a measured quantity is plotted as, if any: thrust on Thrust, the exhaust
// temperature on Turbine Outlet Temp., fuel flow on Fuel Flow.
std::optional<EngineResult> plottedAs(runs::Measured measured);

// The markers of a candidate's log on one result's curve. A point without the swept input sits at
// the candidate's own value of it.
std::vector<Marker> runMarkers(const Candidate& candidate, const runs::RunLog& log,
                               const CurveRequest& request, EngineResult result);

} // namespace explorer
