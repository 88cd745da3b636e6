#include "point_model.hpp"

#include "matching.hpp"
#include "number_text.hpp"

#include <algorithm>
#include <cmath>

namespace runs {

namespace {

using turbo::EngineInput;
using turbo::EngineInputs;
using turbo::EngineResult;
using turbo::EngineResults;

constexpr std::array<Predicted, 3> kPredicted{{
    {Measured::Thrust, [](const EngineResults& r) { return r[EngineResult::Thrust]; }},
    {Measured::MassFlow, [](const EngineResults& r) { return r.massFlow; }},
    {Measured::FuelFlow, [](const EngineResults& r) { return r[turbo::result("fuel-flow")]; }},
}};

std::string lower(std::string_view label) {
    std::string s(label);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

std::span<const Predicted> predictedQuantities() {
    return kPredicted;
}

// Kept to one line so that a change of the model's entry point touches nothing else here.
EngineResults modelAt(const EngineInputs& in) {
    return turbo::evaluateEngine(in);
}

std::optional<double> pressureRatioAtSpeed(const compmap::CompressorMap& map, double flow,
                                           double speed) {
    struct OnLine {
        double speed, pressureRatio;
    };
    std::vector<OnLine> lines;
    for (const auto& line : map.lines)
        if (line.kind == compmap::LineKind::Speed)
            if (const auto pr = compmap::pressureRatioAtFlow(line.points, flow))
                lines.push_back({line.value, *pr});
    std::sort(lines.begin(), lines.end(),
              [](const OnLine& a, const OnLine& b) { return a.speed < b.speed; });
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].speed == speed)
            return lines[i].pressureRatio;
        if (i + 1 < lines.size() && lines[i].speed < speed && speed < lines[i + 1].speed)
            return lines[i].pressureRatio +
                   (speed - lines[i].speed) / (lines[i + 1].speed - lines[i].speed) *
                       (lines[i + 1].pressureRatio - lines[i].pressureRatio);
    }
    return std::nullopt;
}

AtPoint atPoint(const EngineInputs& candidate, const RunPoint& point, const ModelSetup& setup) {
    EngineInputs in = candidate;
    if (const auto v = point[Measured::AmbientTemp])
        in[EngineInput::AmbientTemp] = *v;
    if (const auto v = point[Measured::AmbientPressure])
        in[EngineInput::AmbientPressure] = *v;
    if (const auto v = point[Measured::MassFlow]; v && !setup.predictsMassFlow) {
        in.massFlowSource = turbo::MassFlowSource::Typed;
        in[EngineInput::MassFlow] = *v;
    }
    if (const auto v = point[Measured::P2]) {
        in[EngineInput::P2] = *v;
    } else if (const auto rpm = point[Measured::Rpm]; rpm && setup.map) {
        const double ambient = in[EngineInput::AmbientPressure];
        const compmap::OperatingPoint at{modelAt(in).massFlow, 0, in[EngineInput::AmbientTemp],
                                         in[EngineInput::AmbientPressure]};
        const float flow = compmap::correctedFlow(*setup.map, at);
        const auto pr = pressureRatioAtSpeed(*setup.map, flow, *rpm);
        if (!pr)
            return {std::nullopt, "its speed, " + fields::formatFloat(*rpm) +
                                      " rpm, is outside the map's speed lines at its corrected "
                                      "flow of " +
                                      fields::formatFloat(flow) + " " +
                                      std::string(compmap::flowUnitText(setup.map->flowUnit))};
        in[EngineInput::P2] = static_cast<float>(*pr * ambient - ambient);
    } else {
        return {std::nullopt, rpm ? "no P2, and no compressor map to read it from the speed"
                                  : "no P2 (or speed, with a compressor map)"};
    }
    // Last: the solved inlet temperature depends on the compressor, so on the conditions above.
    if (const auto v = point[Measured::TurbineOutletTemp]) {
        in[EngineInput::TurbineInletTemp] = turbo::solveTurbineInletTemp(in, *v);
        // The point's own exhaust temperature, not the candidate's.
        in[EngineInput::MeasuredTurbineOutletTemp] = turbo::notGiven();
    }
    return {in, {}};
}

std::string whyNoFigure(const EngineResults& r, Measured measured) {
    switch (measured) {
    case Measured::Thrust: {
        if (std::isfinite(r[EngineResult::Thrust]))
            return {};
        if (!(r.cycle.turbineShare < 1))
            return "the turbine cannot drive the compressor at this inlet temperature";
        const float nozzlePr = r[EngineResult::NozzlePr];
        if (!(nozzlePr > 1))
            return "no thrust: the nozzle pressure ratio is " + fields::formatFloat(nozzlePr) +
                   ", not above 1";
        return "no finite thrust";
    }
    case Measured::FuelFlow:
        if (std::isfinite(r[turbo::result("fuel-flow")]))
            return {};
        return "no fuel flow: " +
               std::string(turbo::fuelGapText(r.point.fuel.gap(turbo::FuelResult::FuelFlow)));
    default:
        return std::isfinite(r.massFlow) ? std::string() : "no finite mass flow";
    }
}

Held compare(const EngineInputs& candidate, const RunLog& log, const ModelSetup& setup) {
    Held held;
    for (std::size_t p = 0; p < log.points.size(); ++p) {
        const auto& point = log.points[p];
        const auto predicts = [&](const Predicted& q) {
            return point[q.measured] &&
                   (q.measured != Measured::MassFlow || setup.predictsMassFlow);
        };
        if (std::none_of(kPredicted.begin(), kPredicted.end(), predicts))
            continue;
        const auto at = atPoint(candidate, point, setup);
        if (!at.inputs) {
            held.skipped.push_back({point.line, at.reason});
            continue;
        }
        const auto results = modelAt(*at.inputs);
        for (const auto& q : kPredicted) {
            if (!predicts(q))
                continue;
            const float value = *point[q.measured];
            const auto name = lower(measuredInfo(q.measured).label);
            if (value == 0) {
                held.skipped.push_back({point.line, "the measured " + name +
                                                        " is 0, and a relative error needs a "
                                                        "measurement other than 0"});
                continue;
            }
            const float predicted = q.predicted(results);
            if (!std::isfinite(predicted)) {
                held.skipped.push_back({point.line, whyNoFigure(results, q.measured)});
                continue;
            }
            Comparison c;
            c.point = p;
            c.line = point.line;
            c.measured = q.measured;
            c.value = value;
            c.predicted = predicted;
            c.ratio = double(predicted) / double(value);
            c.residual = (double(predicted) - double(value)) / double(value);
            c.p2 = (*at.inputs)[EngineInput::P2];
            held.comparisons.push_back(c);
        }
    }
    return held;
}

} // namespace runs
