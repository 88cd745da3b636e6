#pragma once
// The engine in section to a standard scale, from its figures: the compressor wheel's inducer and
// outlet diameters, the flame tube with its rows of holes inside the housing the window's note
// asks for, and the jet nozzle at the cycle's diameter; each part labelled with its figure.

#include "drawing.hpp"
#include "tube.hpp"

#include <optional>
#include <string>

namespace flametube {

struct EngineOutline {
    double inducerMm = 0;
    double wheelMm = 0;             // the compressor's outlet diameter
    std::optional<double> nozzleMm; // the cycle's jet nozzle, when it has one
};

// The housing is the tube plus this on the diameter: the middle of the 1.0 to 1.5 in the
// Combustor window's note gives.
inline constexpr double kHousingAllowanceInches = 1.25;

// One page of `width` x `height` mm; the scale is the largest of 1:1, 1:2, 1:2.5, 1:4, 1:5, 1:10
// and 1:20 at which it fits. Needs a drillable plan.
Drawing drawSection(const TubePlan& plan, const EngineOutline& engine, const std::string& name,
                    double width, double height);

// The scale's denominator drawSection chose (1 for 1:1).
double sectionScale(const Drawing& section);

} // namespace flametube
