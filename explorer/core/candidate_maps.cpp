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

namespace {

compmap::OperatingPoint pointOf(const turbo::EngineInputs& in, const turbo::EngineResults& r) {
    return {r.massFlow, r.cycle.compressorPr, in[EngineInput::AmbientTemp],
            in[EngineInput::AmbientPressure]};
}

} // namespace

std::optional<compmap::OperatingPoint> operatingPoint(const Candidate& candidate,
                                                      Evaluate evaluate) {
    const auto in = engineInputs(candidate);
    if (!in)
        return std::nullopt;
    return pointOf(*in, *evaluate(*in, nullptr).results);
}

std::optional<compmap::MatchFigures>
matchAtP2(const Candidate& candidate, const compmap::CompressorMap& map, Evaluate evaluate) {
    const auto point = operatingPoint(candidate, evaluate);
    if (!point)
        return std::nullopt;
    return compmap::match(map, *point);
}

std::vector<compmap::MapPoint> sweepOnMap(const Candidate& candidate,
                                          const compmap::CompressorMap& map,
                                          const CurveRequest& request, Evaluate evaluate) {
    std::vector<compmap::MapPoint> out;
    auto in = engineInputs(candidate);
    fields::Sweep sweep;
    if (!in || fields::planSweep(request.from, request.to, request.step, sweep, kMaxCurvePoints) !=
                   fields::SweepProblem::None)
        return out;
    // As the curves do: a swept mass flow is the mass flow the cycle uses.
    if (request.swept == EngineInput::MassFlow)
        in->massFlowSource = MassFlowSource::Typed;
    const auto quantity = turbo::engineField(request.swept).quantity;
    for (std::size_t i = 0; i < sweep.count; ++i) {
        (*in)[request.swept] = fields::fromDisplay(quantity, request.units, sweep.point(i));
        const auto f = compmap::match(map, pointOf(*in, *evaluate(*in, nullptr).results));
        out.push_back(compmap::MapPoint{f.correctedFlow, f.pressureRatio});
    }
    return out;
}

} // namespace explorer
