#pragma once
// Where an engine's operating point sits on its compressor's map.
//
// Corrected flow = air flow x sqrt(ambient K / reference K) / (ambient pressure / reference
// pressure), in the map's unit: the air flow arrives in lb/s and is first multiplied by the
// unit's exact factor (60 for lb/min, 0.45359237 for kg/s); ambient K is deg. C + 273, as in the
// cycle. All in double precision in that order, rounded once to float. The pressure ratio is the
// cycle's own compressor pressure ratio.
//
// Surge margin in % = (corrected flow - the surge line's flow at the same pressure ratio) /
// corrected flow x 100; negative where the compressor surges. The surge line is taken in the
// order it was traced, linearly between its points; the first segment that spans the pressure
// ratio gives its flow. Empty where the ratio is outside the traced line.
//
// Efficiency: the value of the highest island whose closed contour holds the point (a point on
// a contour's edge counts as inside). Empty outside every island.
//
// Speed: at the point's corrected flow each speed line that reaches that flow gives a pressure
// ratio (linearly between its points, the first segment that spans the flow); between the two
// neighbouring lines, in order of speed, the speed is interpolated linearly in pressure ratio.
// Empty where no two such lines enclose the point (or none passes through it).
//
// A corrected flow or pressure ratio that is not finite (the cycle had no figure) has none of
// the map's figures.

#include "compressor_map.hpp"

#include <optional>
#include <span>

namespace compmap {

// The engine's side of a point: what the cycle takes and gives.
struct OperatingPoint {
    float massFlow = 0;           // lb/s
    float pressureRatio = 0;      // the cycle's compressor pressure ratio
    float ambientTemperature = 0; // deg. C
    float ambientPressure = 0;    // psi, absolute
};

struct MatchFigures {
    float correctedFlow = 0; // in the map's flow unit
    float pressureRatio = 0;
    std::optional<float> surgeMargin; // %
    std::optional<float> efficiency;  // %
    std::optional<float> speed;       // rpm
    // Beyond the highest speed line: above it at the point's flow, or right of its end.
    bool overSpeed = false;
};

MatchFigures match(const CompressorMap& map, const OperatingPoint& point);
// The same for a point already on the chart.
MatchFigures matchCorrected(const CompressorMap& map, float correctedFlow, float pressureRatio);

// The pieces, each on its own.
float correctedFlow(const CompressorMap& map, const OperatingPoint& point);
// The flow of a line at a pressure ratio, and the pressure ratio of a line at a flow.
std::optional<double> flowAtPressureRatio(std::span<const MapPoint> line, double pressureRatio);
std::optional<double> pressureRatioAtFlow(std::span<const MapPoint> line, double flow);
bool contourContains(std::span<const MapPoint> contour, double flow, double pressureRatio);
std::optional<float> speedAt(const CompressorMap& map, double flow, double pressureRatio);

} // namespace compmap
