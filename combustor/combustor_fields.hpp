#pragma once
// The 19 values of the Combustor and Flame Tube window, in the order the window binds them to its
// boxes, with the values a new window starts from. Lengths and areas are in the unit system
// chosen in the list; nothing is converted between systems.

#include <string>

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

// Indexes of the unit list, in the list's order.
enum UnitIndex : int { kInches = 0, kMillimetres = 1, kCentimetres = 2 };

} // namespace combustor
