#include "curves.hpp"

#include "efficiency_from_map.hpp"
#include "number_text.hpp"
#include "turbo_constants.hpp"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace explorer {

namespace {

using fields::UnitSystem;
using turbo::EngineInputs;
using turbo::EngineResults;

// Why a result gives no figure at a point, found by following the formulas from the inputs down
// to the result and naming the first step that leaves the numbers.
enum Cause : std::uint8_t {
    kOther,
    kOutletDiameterZero,
    kAmbientPressureZero,
    kNegativePressure,
    kCompEfficiencyZero,
    kTurbineTooWeak,
    kTurbineEfficiencyZero,
    kCombustorLoss,
    kNozzlePrBelowOne,
    kNozzlePrOne,
    kNozzleEfficiencyZero,
    kNegativeMassFlow,
    kOutsideIslands,
    kInputNotFinite, // + the input's number
};

// How far down the formulas a result sits.
enum class Stage { Wheel, Estimate, Compressor, Turbine, Nozzle };

Stage stageOf(EngineResult r) {
    switch (r) {
    case EngineResult::MaxRpm:
        return Stage::Wheel;
    case EngineResult::MassFlowEstimate:
        return Stage::Estimate;
    case EngineResult::CompTempRise:
    case EngineResult::CompDischargeTemp:
    case EngineResult::TurbineTempDrop:
    case EngineResult::TurbineOutletTemp:
        return Stage::Compressor;
    case EngineResult::TurbinePrRequired:
    case EngineResult::NozzlePr:
        return Stage::Turbine;
    default:
        return Stage::Nozzle;
    }
}

std::uint8_t notFinite(EngineInput input) {
    return static_cast<std::uint8_t>(kInputNotFinite + static_cast<std::size_t>(input));
}

// The inputs each stage reads, in the order of the formulas.
std::optional<std::uint8_t> badInput(const EngineInputs& in,
                                     std::initializer_list<EngineInput> list) {
    for (const auto input : list)
        if (!std::isfinite(in[input]))
            return notFinite(input);
    return std::nullopt;
}

std::uint8_t diagnose(const EngineInputs& in, const EngineResults& r, EngineResult result) {
    using I = EngineInput;
    const Stage stage = stageOf(result);
    if (stage == Stage::Wheel) {
        if (auto bad = badInput(in, {I::CompOutletDiameter}))
            return *bad;
        return in[I::CompOutletDiameter] == 0 ? kOutletDiameterZero : kOther;
    }
    if (stage == Stage::Estimate)
        return badInput(in, {I::InducerDiameter, I::HubDiameter}).value_or(kOther);

    if (auto bad = badInput(in, {I::P2, I::AmbientPressure, I::AmbientTemp, I::CompEfficiency,
                                 I::TurbineInletTemp}))
        return *bad;
    if (in[I::AmbientPressure] == 0)
        return kAmbientPressureZero;
    if (r.cycle.compressorPr < 0)
        return kNegativePressure;
    if (in[I::CompEfficiency] == 0)
        return kCompEfficiencyZero;
    if (stage == Stage::Compressor)
        return kOther;

    if (auto bad = badInput(in, {I::TurbineEfficiency}))
        return *bad;
    if (in[I::TurbineEfficiency] == 0)
        return kTurbineEfficiencyZero;
    if (!(r.cycle.turbineShare < 1))
        return kTurbineTooWeak;
    if (stage == Stage::Turbine)
        return kOther;

    if (auto bad = badInput(in, {I::NozzleEfficiency}))
        return *bad;
    if (!std::isfinite(r.massFlow))
        return notFinite(I::MassFlow);
    const float nozzlePr = r[EngineResult::NozzlePr];
    if (nozzlePr < 0)
        return kCombustorLoss;
    if (nozzlePr < 1)
        return kNozzlePrBelowOne;
    if (nozzlePr == 1)
        return kNozzlePrOne;
    if (in[I::NozzleEfficiency] == 0)
        return kNozzleEfficiencyZero;
    if (r.massFlow < 0)
        return kNegativeMassFlow;
    return kOther;
}

std::string causeText(std::uint8_t cause) {
    switch (cause) {
    case kOutletDiameterZero:
        return "compressor outlet diameter 0";
    case kAmbientPressureZero:
        return "ambient pressure 0";
    case kNegativePressure:
        return "compressor PR below 0";
    case kCompEfficiencyZero:
        return "compressor efficiency 0";
    case kTurbineTooWeak:
        return "turbine efficiency too low to drive the compressor";
    case kTurbineEfficiencyZero:
        return "turbine efficiency 0";
    case kCombustorLoss:
        return "compressor PR below the combustor's loss of " +
               fields::formatFloat(static_cast<float>(turbo::kCombustorPrLoss));
    case kNozzlePrBelowOne:
        return "nozzle PR below 1";
    case kNozzlePrOne:
        return "nozzle PR 1, no jet velocity";
    case kNozzleEfficiencyZero:
        return "nozzle efficiency 0, no jet velocity";
    case kNegativeMassFlow:
        return "mass flow below 0";
    case kOutsideIslands:
        return "compressor efficiency from the map: " + std::string(compmap::kOutsideIslands);
    case kOther:
        return "the formulas give no finite figure";
    default: {
        const auto input = static_cast<EngineInput>(cause - kInputNotFinite);
        return inputName(input) + " is not a finite number";
    }
    }
}

// A label as words in a sentence: "P2 (psig):" -> "P2", "Turbine PR Required:" ->
// "turbine PR required". Words in capitals stay as they are.
std::string sentenceName(const fields::Field& field) {
    std::string name(fields::displayName(field));
    bool wordStart = true;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == ' ') {
            wordStart = true;
            continue;
        }
        if (wordStart && i + 1 < name.size() &&
            std::islower(static_cast<unsigned char>(name[i + 1])))
            name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
        wordStart = false;
    }
    return name;
}

std::string resultName(EngineResult r) {
    return sentenceName(turbo::engineField(r));
}

// "no thrust for P2 = 0 to 2.3 psig: nozzle PR below 1; ..." for the runs of points without a
// figure, each run one cause.
std::string describeGaps(EngineResult result, EngineInput swept, UnitSystem units,
                         std::span<const float> x, std::span<const float> y,
                         std::span<const std::uint8_t> causes, bool rising) {
    const std::string what = "no " + resultName(result) + " ";
    const std::string xName = sentenceName(turbo::engineField(swept)) + " = ";
    const std::string_view unit = fields::unitText(turbo::engineField(swept).quantity, units);
    auto at = [&](std::size_t i) { return fields::formatFloat(x[i]); };
    auto withUnit = [&](std::string t) { return unit.empty() ? t : t + " " + std::string(unit); };

    constexpr int kMaxRuns = 3;
    std::string text;
    int runs = 0;
    const std::size_t n = y.size();
    for (std::size_t a = 0; a < n;) {
        if (std::isfinite(y[a])) {
            ++a;
            continue;
        }
        std::size_t b = a;
        while (b + 1 < n && !std::isfinite(y[b + 1]) && causes[b + 1] == causes[a])
            ++b;
        if (++runs <= kMaxRuns) {
            // Only the swept points are known: the run is named by its first and last point,
            // never widened to the neighbouring point with a figure (at a coarse step the figures
            // may begin anywhere between the two).
            const std::string range = a == b ? "at " + xName + withUnit(at(a))
                                             : "for " + xName + at(rising ? a : b) + " to " +
                                                   withUnit(at(rising ? b : a));
            if (!text.empty())
                text += "; ";
            text += what + range + ": " + causeText(causes[a]);
        }
        a = b + 1;
    }
    if (runs > kMaxRuns)
        text += "; and " + std::to_string(runs - kMaxRuns) + " more gaps";
    return text;
}

} // namespace

void computeCandidateCurves(const Candidate& candidate, const CurveRequest& request,
                            std::span<const float> x, CandidateCurves& out,
                            const compmap::CompressorMap* efficiencyMap, Evaluate evaluate) {
    out.problem.clear();
    const auto inputs = engineInputs(candidate);
    const auto outside = rangeProblem(candidate); // [range check]
    if (!inputs || outside) {
        out.problem = outside ? *outside : problem(candidate).value_or("");
        out.results.clear();
        return;
    }
    EngineInputs in = *inputs;
    // A swept mass flow is the mass flow the cycle uses.
    if (request.swept == EngineInput::MassFlow)
        in.massFlowSource = MassFlowSource::Typed;

    const std::size_t nResults = request.results.size();
    const std::size_t n = x.size();
    out.results.resize(nResults);
    thread_local std::vector<std::vector<std::uint8_t>> causes;
    if (causes.size() < nResults)
        causes.resize(nResults);
    fields::Quantity resultQuantity[turbo::kEngineResultCount];
    for (std::size_t k = 0; k < nResults; ++k) {
        out.results[k].y.resize(n);
        out.results[k].gaps.clear();
        causes[k].assign(n, kOther);
        resultQuantity[k] = turbo::engineField(request.results[k]).quantity;
    }
    const auto sweptQuantity = turbo::engineField(request.swept).quantity;

    bool anyGap = false;
    out.beyondLimit.assign(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        in[request.swept] = fields::fromDisplay(sweptQuantity, request.units, x[i]);
        const PointFigures figures = evaluate(in, efficiencyMap);
        if (!figures.results) { // outside every island of the map
            out.beyondLimit[i] = false;
            for (std::size_t k = 0; k < nResults; ++k) {
                out.results[k].y[i] = std::numeric_limits<float>::quiet_NaN();
                causes[k][i] = kOutsideIslands;
            }
            anyGap = true;
            continue;
        }
        // What the cycle used, for telling why a figure is missing; the next point's place on
        // the map does not depend on it.
        if (efficiencyMap)
            in[EngineInput::CompEfficiency] = figures.mapEfficiency;
        const EngineResults& r = *figures.results;
        out.beyondLimit[i] = r.point.limits.any();
        for (std::size_t k = 0; k < nResults; ++k) {
            const float v = r[request.results[k]];
            out.results[k].y[i] = fields::toDisplay(resultQuantity[k], request.units, v);
            if (!std::isfinite(v)) {
                causes[k][i] = diagnose(in, r, request.results[k]);
                anyGap = true;
            }
        }
    }
    if (!anyGap)
        return;
    for (std::size_t k = 0; k < nResults; ++k)
        out.results[k].gaps = describeGaps(request.results[k], request.swept, request.units, x,
                                           out.results[k].y, causes[k], request.step > 0);
}

std::vector<Run> finiteRuns(std::span<const float> y) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < y.size();) {
        if (!std::isfinite(y[i])) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < y.size() && std::isfinite(y[j]))
            ++j;
        runs.push_back({i, j});
        i = j;
    }
    return runs;
}

} // namespace explorer
