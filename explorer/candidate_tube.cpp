#include "candidate_tube.hpp"

#include <cmath>

namespace explorer {

std::vector<flametube::NamedFigures> tubeFigures(const std::vector<Candidate>& candidates) {
    std::vector<flametube::NamedFigures> out;
    for (const auto& c : candidates) {
        flametube::NamedFigures named{c.name, std::nullopt};
        if (const auto r = evaluate(c)) {
            flametube::CandidateFigures f;
            f.inducerDiameter = c[EngineInput::InducerDiameter].value;
            f.compOutletDiameter = c[EngineInput::CompOutletDiameter].value;
            f.massFlow = r->massFlow;
            f.p2 = c[EngineInput::P2].value;
            f.ambientPressure = c[EngineInput::AmbientPressure].value;
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
