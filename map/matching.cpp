#include "matching.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace compmap {

namespace {

// Where v sits between a and b (either order), both ends included.
bool between(double v, double a, double b) {
    return (a <= v && v <= b) || (b <= v && v <= a);
}

// Along one coordinate of a polyline: the other coordinate where the first equals `at`.
template <class Along, class Other>
std::optional<double> crossing(std::span<const MapPoint> line, double at, Along along,
                               Other other) {
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const double a0 = along(line[i]), a1 = along(line[i + 1]);
        if (!between(at, a0, a1))
            continue;
        const double o0 = other(line[i]), o1 = other(line[i + 1]);
        if (a0 == a1) // the segment runs along the other axis: its first end
            return o0;
        return o0 + (at - a0) * (o1 - o0) / (a1 - a0);
    }
    return std::nullopt;
}

double flowOf(const MapPoint& p) {
    return p.flow;
}
double ratioOf(const MapPoint& p) {
    return p.pressureRatio;
}

} // namespace

std::optional<double> flowAtPressureRatio(std::span<const MapPoint> line, double pressureRatio) {
    return crossing(line, pressureRatio, ratioOf, flowOf);
}

std::optional<double> pressureRatioAtFlow(std::span<const MapPoint> line, double flow) {
    return crossing(line, flow, flowOf, ratioOf);
}

bool contourContains(std::span<const MapPoint> contour, double flow, double pressureRatio) {
    // Crossings of a ray towards larger flow, counted odd or even; the edge itself is inside.
    bool inside = false;
    const std::size_t n = contour.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const double x0 = contour[j].flow, y0 = contour[j].pressureRatio;
        const double x1 = contour[i].flow, y1 = contour[i].pressureRatio;
        // On the edge: the point lies on the segment's line and within its box.
        const double cross = (x1 - x0) * (pressureRatio - y0) - (y1 - y0) * (flow - x0);
        if (cross == 0 && between(flow, x0, x1) && between(pressureRatio, y0, y1))
            return true;
        if ((y0 > pressureRatio) != (y1 > pressureRatio)) {
            const double x = x0 + (pressureRatio - y0) * (x1 - x0) / (y1 - y0);
            if (flow < x)
                inside = !inside;
        }
    }
    return inside;
}

std::optional<float> speedAt(const CompressorMap& map, double flow, double pressureRatio) {
    std::vector<std::pair<double, double>> lines; // speed, pressure ratio at the flow
    for (const auto& line : map.lines)
        if (line.kind == LineKind::Speed)
            if (const auto ratio = pressureRatioAtFlow(line.points, flow))
                lines.emplace_back(line.value, *ratio);
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [speed, ratio] : lines)
        if (ratio == pressureRatio)
            return float(speed);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const auto [r0, p0] = lines[i];
        const auto [r1, p1] = lines[i + 1];
        if (between(pressureRatio, p0, p1))
            return float(r0 + (pressureRatio - p0) * (r1 - r0) / (p1 - p0));
    }
    return std::nullopt;
}

float correctedFlow(const CompressorMap& map, const OperatingPoint& point) {
    const double flow = double(point.massFlow) * flowPerPoundPerSecond(map.flowUnit);
    const double temperatureRatio =
        (double(point.ambientTemperature) + kKelvinOffset) / double(map.referenceTemperature);
    const double pressureRatio = double(point.ambientPressure) / double(map.referencePressure);
    return float(flow * std::sqrt(temperatureRatio) / pressureRatio);
}

MatchFigures match(const CompressorMap& map, const OperatingPoint& point) {
    return matchCorrected(map, correctedFlow(map, point), point.pressureRatio);
}

MatchFigures matchCorrected(const CompressorMap& map, float correctedFlow, float pressureRatio) {
    MatchFigures f;
    f.correctedFlow = correctedFlow;
    f.pressureRatio = pressureRatio;
    const double flow = f.correctedFlow;
    const double ratio = f.pressureRatio;
    // A point the cycle could not place (NaN or infinite) is nowhere on the map.
    if (!std::isfinite(flow) || !std::isfinite(ratio))
        return f;
    if (const auto* surge = map.surgeLine())
        if (const auto surgeFlow = flowAtPressureRatio(surge->points, ratio))
            f.surgeMargin = float((flow - *surgeFlow) / flow * 100.0);
    const MapLine* highest = nullptr;
    for (const auto& line : map.lines) {
        if (line.kind == LineKind::Island && contourContains(line.points, flow, ratio) &&
            (!f.efficiency || line.value > *f.efficiency))
            f.efficiency = line.value;
        if (line.kind == LineKind::Speed && (!highest || line.value > highest->value))
            highest = &line;
    }
    f.speed = speedAt(map, flow, ratio);
    if (highest) {
        const auto top = pressureRatioAtFlow(highest->points, flow);
        const auto last =
            std::max_element(highest->points.begin(), highest->points.end(),
                             [](const MapPoint& a, const MapPoint& b) { return a.flow < b.flow; });
        f.overSpeed = top ? ratio > *top : flow > last->flow;
    }
    return f;
}

} // namespace compmap
