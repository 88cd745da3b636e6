#include "candidate.hpp"

namespace flametube {

namespace {
constexpr double kKelvinOffset = 273.15;
constexpr double kSecondsPerHour = 3600;
} // namespace

int unitIndexFor(fields::UnitSystem units) {
    return units == fields::UnitSystem::Metric ? combustor::kMillimetres : combustor::kInches;
}

TubePlan candidateTube(const CandidateFigures& figures, fields::UnitSystem units,
                       const DrillChoice& choice) {
    TubeInput input;
    input.unitIndex = unitIndexFor(units);
    input.inducerDiameter =
        fields::toDisplay(fields::Quantity::Length, units, figures.inducerDiameter);
    input.drills = choice.drills;
    input.series = choice.series.value_or(seriesForUnits(input.unitIndex));
    input.positions = choice.positions;
    return planTube(input);
}

CycleAir cycleAir(const CandidateFigures& f) {
    CycleAir air;
    air.massFlow = double(f.massFlow) * fields::kKilogramsPerPound;
    air.p3 = (double(f.p2) + double(f.ambientPressure)) * fields::kPascalsPerPsi;
    air.t2 = double(f.compDischargeTemp) + kKelvinOffset;
    if (f.fuelFlow)
        air.fuelFlow = double(*f.fuelFlow) * fields::kKilogramsPerPound / kSecondsPerHour;
    return air;
}

EngineOutline engineOutline(const CandidateFigures& f) {
    const double mm = fields::kMillimetresPerInch;
    EngineOutline o;
    o.inducerMm = double(f.inducerDiameter) * mm;
    o.wheelMm = double(f.compOutletDiameter) * mm;
    if (f.nozzleDiameter)
        o.nozzleMm = double(*f.nozzleDiameter) * mm;
    return o;
}

} // namespace flametube
