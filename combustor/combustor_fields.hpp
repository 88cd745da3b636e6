#pragma once
// The 19 values of the Combustor and Flame Tube window, in the order the window binds them to its
// boxes, with the values a new window starts from. Lengths and areas are in the unit system
// chosen in the list; nothing is converted between systems. What each number is (label, box) is
// its row in fields/; here is only where the window keeps it.

#include "calculation_fields.hpp"

#include <array>
#include <string>
#include <string_view>

namespace combustor {

struct CombustorFields {
    float m_InducerArea = 0.0f;
    float m_TubeDiameter = 0.0f;
    float m_TubeLength = 0.0f;
    float m_PrimaryHoleArea = 0.0f;
    float m_PrimaryDrill = 0.0f;
    float m_PrimaryHoles = 0.0f;
    float m_InducerRadius = 0.0f;
    float m_SecondaryHoleArea = 0.0f;
    float m_SecondaryDrill = 0.0f;
    float m_SecondaryHoles = 0.0f;
    int m_UnitIndex = -1; // index in the unit list, -1 for none selected
    float m_TertiaryHoleArea = 0.0f;
    float m_TertiaryDrill = 0.0f;
    float m_TertiaryHoles = 0.0f;
    float m_InducerDiameter = 0.0f;
    std::string m_UnitName;
    std::string m_PrimaryExample;
    std::string m_SecondaryExample;
    std::string m_TertiaryExample;
};

using fields::kCombustorTemplate;

// Where the window keeps each box, in the binding order: a field of fields/ by key, or one of the
// texts the unit's preset fills in, which are no calculation's fields and so name their box here.
struct CombustorBinding {
    std::string_view key;
    float CombustorFields::*number = nullptr;
    int CombustorFields::*index = nullptr;
    std::string CombustorFields::*text = nullptr;
    int textControl = 0;
};
inline constexpr std::array<CombustorBinding, 19> kCombustorBindings{{
    {"inducer-area", &CombustorFields::m_InducerArea},
    {"tube-diameter", &CombustorFields::m_TubeDiameter},
    {"tube-length", &CombustorFields::m_TubeLength},
    {"primary-hole-area", &CombustorFields::m_PrimaryHoleArea},
    {"primary-drill", &CombustorFields::m_PrimaryDrill},
    {"primary-holes", &CombustorFields::m_PrimaryHoles},
    {"inducer-radius", &CombustorFields::m_InducerRadius},
    {"secondary-hole-area", &CombustorFields::m_SecondaryHoleArea},
    {"secondary-drill", &CombustorFields::m_SecondaryDrill},
    {"secondary-holes", &CombustorFields::m_SecondaryHoles},
    {"units", nullptr, &CombustorFields::m_UnitIndex},
    {"tertiary-hole-area", &CombustorFields::m_TertiaryHoleArea},
    {"tertiary-drill", &CombustorFields::m_TertiaryDrill},
    {"tertiary-holes", &CombustorFields::m_TertiaryHoles},
    {"inducer-diameter", &CombustorFields::m_InducerDiameter},
    {"unit-name", nullptr, nullptr, &CombustorFields::m_UnitName, 1019},
    {"primary-example", nullptr, nullptr, &CombustorFields::m_PrimaryExample, 1022},
    {"secondary-example", nullptr, nullptr, &CombustorFields::m_SecondaryExample, 1023},
    {"tertiary-example", nullptr, nullptr, &CombustorFields::m_TertiaryExample, 1024},
}};

inline constexpr auto kCombustorControls = [] {
    std::array<int, kCombustorBindings.size()> controls{};
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i] =
            kCombustorBindings[i].text
                ? kCombustorBindings[i].textControl
                : fields::formField(kCombustorTemplate, kCombustorBindings[i].key).control;
    return controls;
}();

// The member holding a number field, or null.
constexpr float CombustorFields::*combustorMember(std::string_view key) {
    for (const auto& b : kCombustorBindings)
        if (b.key == key)
            return b.number;
    return nullptr;
}

// Indexes of the unit list, in the list's order.
enum UnitIndex : int { kInches = 0, kMillimetres = 1, kCentimetres = 2 };

} // namespace combustor
