#include "compressor_map.hpp"

#include "number_text.hpp"

#include <cmath>

namespace compmap {

std::string_view flowUnitText(FlowUnit unit) {
    return unit == FlowUnit::KgPerS ? "kg/s" : "lb/min";
}

std::optional<FlowUnit> flowUnitFromText(std::string_view text) {
    if (text == "lb/min")
        return FlowUnit::LbPerMin;
    if (text == "kg/s")
        return FlowUnit::KgPerS;
    return std::nullopt;
}

double flowPerPoundPerSecond(FlowUnit unit) {
    return unit == FlowUnit::KgPerS ? 0.45359237 : 60.0;
}

bool AxisCalibration::valid() const {
    return std::isfinite(pixel1) && std::isfinite(pixel2) && std::isfinite(value1) &&
           std::isfinite(value2) && pixel1 != pixel2 && value1 != value2;
}

double AxisCalibration::valueAt(double pixel) const {
    return double(value1) + (pixel - double(pixel1)) * (double(value2) - double(value1)) /
                                (double(pixel2) - double(pixel1));
}

double AxisCalibration::pixelAt(double value) const {
    return double(pixel1) + (value - double(value1)) * (double(pixel2) - double(pixel1)) /
                                (double(value2) - double(value1));
}

std::size_t minimumPoints(LineKind kind) {
    return kind == LineKind::Island ? 3 : 2;
}

const MapLine* CompressorMap::surgeLine() const {
    for (const auto& line : lines)
        if (line.kind == LineKind::Surge)
            return &line;
    return nullptr;
}

std::string numberText(float value) {
    // Whole numbers as such ("120000", not "1.2e+05"): speeds read better that way.
    if (value == std::trunc(value) && std::fabs(value) < 16777216.0f && value != 0.0f)
        return std::to_string(static_cast<long>(value));
    return fields::shortestFloat(value);
}

std::string lineName(const MapLine& line) {
    switch (line.kind) {
    case LineKind::Surge:
        return "surge";
    case LineKind::Speed:
        return numberText(line.value) + " rpm";
    case LineKind::Island:
        return numberText(line.value) + " %";
    }
    return {};
}

} // namespace compmap
