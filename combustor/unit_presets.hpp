#pragma once
// What "Enter" beside the unit list fills in: the unit's name, the three standard drill sizes and
// the examples that show them.

#include "combustor_fields.hpp"

#include <array>
#include <optional>
#include <string_view>

namespace combustor {

struct UnitPreset {
    std::string_view listItem; // the text of the unit list's item
    std::string_view unitName;
    std::array<float, 3> drills;              // primary, secondary, tertiary
    std::array<std::string_view, 3> examples; // primary, secondary, tertiary
};

// The unit list's items, by index.
inline constexpr std::array<UnitPreset, 3> kUnitPresets{{
    {"Standard - in",
     "Standard - Inches",
     {0.25f, 0.375f, 0.625f},
     {"1/4 = .25", "3/8 = .375", "5/8 = .625"}},
    {"Metric - mm", "Metric - Millimeters", {6.0f, 10.0f, 16.0f}, {"6 mm", "10 mm", "16 mm"}},
    {"Metric - cm",
     "Metric - Centimeters",
     {0.6f, 1.0f, 1.6f},
     {"6mm = .6", "10mm = 1.0", "16mm = 1.6"}},
}};

// The preset of a unit index, or nothing for -1 and any other index.
std::optional<UnitPreset> presetFor(int unitIndex);

// Applies the preset of m_UnitIndex: the unit name, the three drills (whatever was typed) and the
// three examples. Any other index changes nothing; the inducer diameter and results stay as they
// are.
void applyUnitPreset(CombustorFields& f);

} // namespace combustor
