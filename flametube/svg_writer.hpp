#pragma once
// A drawing as SVG in millimetres: one user unit is one millimetre, the pages one under the
// other, each as wide and high as its paper.

#include "drawing.hpp"

#include <string>

namespace flametube {

std::string svgText(const Drawing& drawing);

} // namespace flametube
