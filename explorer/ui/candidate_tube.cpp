#include "candidate_tube.hpp"

#include <cmath>

namespace explorer {

std::vector<flametube::NamedFigures> tubeFigures(const std::vector<Candidate>& candidates) {
    std::vector<flametube::NamedFigures> out;
    for (const auto& c : candidates) {
        flametube::NamedFigures named{c.name, std::nullopt};
        if (const auto r = evaluate(c)) {
            flametube::CandidateFigures f;
            // As the point used them: an ambient left to the altitude is worked out there.
            f.inducerDiameter = r->used[EngineInput::InducerDiameter];
            f.compOutletDiameter = r->used[EngineInput::CompOutletDiameter];
            f.massFlow = r->results.massFlow;
            f.p2 = r->used[EngineInput::P2];
            f.ambientPressure = r->used[EngineInput::AmbientPressure];
            f.compDischargeTemp = (*r)[EngineResult::CompDischargeTemp];
            if (const float fuel = (*r)[turbo::result("fuel-flow")]; std::isfinite(fuel))
                f.fuelFlow = fuel;
            if (const float nozzle = (*r)[EngineResult::NozzleDiameter]; std::isfinite(nozzle))
                f.nozzleDiameter = nozzle;
            named.figures = f;
        }
        out.push_back(std::move(named));
    }
    return out;
}

} // namespace explorer
