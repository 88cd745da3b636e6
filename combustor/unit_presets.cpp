#include "unit_presets.hpp"

namespace combustor {

std::optional<UnitPreset> presetFor(int unitIndex) {
    if (unitIndex < 0 || unitIndex >= static_cast<int>(kUnitPresets.size()))
        return std::nullopt;
    return kUnitPresets[static_cast<std::size_t>(unitIndex)];
}

void applyUnitPreset(CombustorFields& f) {
    const auto preset = presetFor(f.m_UnitIndex);
    if (!preset)
        return;
    f.m_UnitName = preset->unitName;
    f.m_PrimaryDrill = preset->drills[0];
    f.m_SecondaryDrill = preset->drills[1];
    f.m_TertiaryDrill = preset->drills[2];
    f.m_PrimaryExample = preset->examples[0];
    f.m_SecondaryExample = preset->examples[1];
    f.m_TertiaryExample = preset->examples[2];
}

} // namespace combustor
