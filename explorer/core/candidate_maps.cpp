#include "candidate_maps.hpp"

namespace explorer {

const MapLibrary::Entry* MapLibrary::get(const std::filesystem::path& folder,
                                         std::string_view name) {
    if (name.empty())
        return nullptr;
    const std::filesystem::path file = (folder / std::filesystem::path(name)).lexically_normal();
    if (const auto known = entries_.find(file); known != entries_.end())
        return &known->second;
    auto read = compmap::loadMap(file);
    Entry entry{file, std::move(read.map), read.error ? read.error->text() : std::string()};
    return &entries_.emplace(file, std::move(entry)).first->second;
}

std::optional<compmap::OperatingPoint> operatingPoint(const Candidate& candidate) {
    const auto p = evaluate(candidate);
    if (!p)
        return std::nullopt;
    return compmap::OperatingPoint{p->results.massFlow, p->results.cycle.compressorPr,
                                   p->used[EngineInput::AmbientTemp],
                                   p->used[EngineInput::AmbientPressure]};
}

// The point's place on the map does not depend on where its efficiency comes from.
std::optional<compmap::MatchFigures> matchAtP2(const Candidate& candidate,
                                               const compmap::CompressorMap& map) {
    const auto in = engineInputs(candidate);
    if (!in)
        return std::nullopt;
    return point::evaluatePoint({.engine = *in, .map = &map}).onMap;
}

std::vector<compmap::MapPoint> sweepOnMap(const Candidate& candidate,
                                          const compmap::CompressorMap& map,
                                          const CurveRequest& request) {
    std::vector<compmap::MapPoint> out;
    const auto in = engineInputs(candidate);
    fields::Sweep sweep;
    if (!in || fields::planSweep(request.from, request.to, request.step, sweep, kMaxCurvePoints) !=
                   fields::SweepProblem::None)
        return out;
    point::PointInputs at{.engine = *in, .map = &map};
    // As the curves do: a swept mass flow is the mass flow the cycle uses.
    if (request.swept == EngineInput::MassFlow)
        at.engine.massFlowSource = MassFlowSource::Typed;
    const auto quantity = turbo::engineField(request.swept).quantity;
    for (std::size_t i = 0; i < sweep.count; ++i) {
        at.engine[request.swept] = fields::fromDisplay(quantity, request.units, sweep.point(i));
        const auto f = *point::evaluatePoint(at).onMap;
        out.push_back(compmap::MapPoint{f.correctedFlow, f.pressureRatio});
    }
    return out;
}

} // namespace explorer
