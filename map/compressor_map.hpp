#pragma once
// A turbocharger compressor's map: pressure ratio against corrected air flow, with the surge line,
// speed lines and efficiency islands traced from the maker's sheet, and optionally that sheet as a
// picture with the pixel positions of two known values on each axis.
//
// Corrected flow is referred to the map's own reference conditions, because makers differ: some
// use 288 K and 14.7 psi, others 298 K and 1 bar (14.5038 psi) or 545 deg. R (302.8 K). The
// default is 288 K (the program's standard 15 deg. C with its offset of 273) and 14.7 psi, so
// that on the program's standard day the corrected flow is the air flow itself.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compmap {

// Reference conditions when a map does not state them.
inline constexpr float kDefaultReferenceTemperature = 288.0f; // K
inline constexpr float kDefaultReferencePressure = 14.7f;     // psi, absolute
// The offset from deg. C to kelvin in every figure of the map, the same one the cycle uses, so
// that an ambient of 15 deg. C is 288 K.
inline constexpr double kKelvinOffset = 273.0;

enum class FlowUnit { LbPerMin, KgPerS };

// "lb/min" and "kg/s", as files and the command line write them.
std::string_view flowUnitText(FlowUnit unit);
std::optional<FlowUnit> flowUnitFromText(std::string_view text);
// Flow in this unit per lb/s of air: 60 for lb/min, 0.45359237 (the pound's definition) for kg/s.
double flowPerPoundPerSecond(FlowUnit unit);

// A point of the chart: corrected flow in the map's unit and total-to-total pressure ratio.
struct MapPoint {
    float flow = 0;
    float pressureRatio = 0;
    bool operator==(const MapPoint&) const = default;
};

// Two pixel positions of the picture and the values they stand for, on a linear axis.
struct AxisCalibration {
    float pixel1 = 0, value1 = 0;
    float pixel2 = 0, value2 = 0;
    bool operator==(const AxisCalibration&) const = default;

    // Usable when the two pixels and the two values differ and all are finite.
    bool valid() const;
    double valueAt(double pixel) const;
    double pixelAt(double value) const;
};

enum class LineKind { Surge, Speed, Island };

// A traced line. A speed line carries its speed in rpm, an island its efficiency in %; an island
// is a closed contour (its last point joins its first), the others are open polylines.
struct MapLine {
    LineKind kind = LineKind::Speed;
    float value = 0;
    std::vector<MapPoint> points;
    bool operator==(const MapLine&) const = default;
};

// The fewest points each kind needs: two for a line, three for a contour.
std::size_t minimumPoints(LineKind kind);

struct CompressorMap {
    FlowUnit flowUnit = FlowUnit::LbPerMin;
    float referenceTemperature = kDefaultReferenceTemperature; // K
    float referencePressure = kDefaultReferencePressure;       // psi, absolute
    std::string picture; // path as written in the file: relative to the map file's folder
    std::optional<AxisCalibration> flowAxis;     // picture x
    std::optional<AxisCalibration> pressureAxis; // picture y
    std::vector<MapLine> lines;
    bool operator==(const CompressorMap&) const = default;

    const MapLine* surgeLine() const;
};

// A value as the map file and the labels write it: the shortest text that reads back the same,
// whole numbers without an exponent.
std::string numberText(float value);

// A line's name as a digitizer dataset and a label: "surge", "120000 rpm", "72 %".
std::string lineName(const MapLine& line);

} // namespace compmap
