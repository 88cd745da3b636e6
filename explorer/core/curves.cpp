#include "curves.hpp"

#include "evaluate_point.hpp"
#include "number_text.hpp"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace explorer {

namespace {

using fields::UnitSystem;

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
                         std::span<const std::string> causes, bool rising) {
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
            text += what + range + ": " + causes[a];
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
                            const compmap::CompressorMap* map) {
    out.problem.clear();
    const auto inputs = engineInputs(candidate);
    const auto outside = rangeProblem(candidate); // [range check]
    if (!inputs || outside) {
        out.problem = outside ? *outside : problem(candidate).value_or("");
        out.results.clear();
        return;
    }
    point::PointInputs in{
        .engine = *inputs, .map = map, .efficiencyFromMap = map && candidate.efficiencyFromMap};
    // A swept mass flow is the mass flow the cycle uses.
    if (request.swept == EngineInput::MassFlow)
        in.engine.massFlowSource = MassFlowSource::Typed;

    const std::size_t nResults = request.results.size();
    const std::size_t n = x.size();
    out.results.resize(nResults);
    // The reason for each point without a figure, in the evaluation's own words.
    thread_local std::vector<std::vector<std::string>> causes;
    if (causes.size() < nResults)
        causes.resize(nResults);
    fields::Quantity resultQuantity[turbo::kEngineResultCount];
    for (std::size_t k = 0; k < nResults; ++k) {
        out.results[k].y.resize(n);
        out.results[k].gaps.clear();
        causes[k].assign(n, std::string());
        resultQuantity[k] = turbo::engineField(request.results[k]).quantity;
    }
    const auto sweptQuantity = turbo::engineField(request.swept).quantity;

    bool anyGap = false;
    out.beyondLimit.assign(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        in.engine[request.swept] = fields::fromDisplay(sweptQuantity, request.units, x[i]);
        // A swept input past its physical range gives that point no figures, as the command
        // line's sweep does.
        if (auto outside = rangeProblem(in.engine, in.efficiencyFromMap)) {
            for (std::size_t k = 0; k < nResults; ++k) {
                out.results[k].y[i] = std::numeric_limits<float>::quiet_NaN();
                causes[k][i] = *outside;
            }
            anyGap = true;
            continue;
        }
        const point::Point p = point::evaluatePoint(in);
        out.beyondLimit[i] = p.limits.any();
        for (std::size_t k = 0; k < nResults; ++k) {
            const float v = p[request.results[k]];
            out.results[k].y[i] = fields::toDisplay(resultQuantity[k], request.units, v);
            if (!std::isfinite(v)) {
                causes[k][i] = point::reasonText(p, point::reasonFor(p, request.results[k]));
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
