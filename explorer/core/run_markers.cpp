#include "run_markers.hpp"

namespace explorer {

namespace {

// The swept inputs a log can hold, and the column that holds them.
std::optional<runs::Measured> measuredAs(EngineInput input) {
    switch (input) {
    case EngineInput::P2:
        return runs::Measured::P2;
    case EngineInput::AmbientTemp:
        return runs::Measured::AmbientTemp;
    case EngineInput::AmbientPressure:
        return runs::Measured::AmbientPressure;
    case EngineInput::MassFlow:
        return runs::Measured::MassFlow;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<EngineResult> plottedAs(runs::Measured measured) {
    switch (measured) {
    case runs::Measured::Thrust:
        return EngineResult::Thrust;
    case runs::Measured::TurbineOutletTemp:
        return EngineResult::TurbineOutletTemp;
    case runs::Measured::FuelFlow:
        return turbo::result("fuel-flow");
    default:
        return std::nullopt;
    }
}

std::vector<Marker> runMarkers(const Candidate& candidate, const runs::RunLog& log,
                               const CurveRequest& request, EngineResult result) {
    std::vector<Marker> markers;
    std::optional<runs::Measured> measured;
    for (const auto m : runs::allMeasured())
        if (plottedAs(m) == result)
            measured = m;
    if (!measured || !log.has(*measured) || candidate[request.swept].bad)
        return markers;
    const auto xColumn = measuredAs(request.swept);
    const auto& xField = turbo::engineField(request.swept);
    const auto& yField = turbo::engineField(result);
    for (const auto& point : log.points) {
        const auto y = point[*measured];
        if (!y)
            continue;
        std::optional<float> x = xColumn ? point[*xColumn] : std::nullopt;
        if (!x)
            x = candidate[request.swept].value;
        markers.push_back({fields::toDisplay(xField.quantity, request.units, *x),
                           fields::toDisplay(yField.quantity, request.units, *y), point.line});
    }
    return markers;
}

} // namespace explorer
