#include "flame_tube.hpp"

namespace combustor {

// Double precision in the order written, rounded to float where stored.
using D = double;

double diameterRatio(int unitIndex, float inducerDiameter) {
    const D d = inducerDiameter;
    D k = 3;
    // The second test of each system overrides the first.
    switch (unitIndex) {
    case kInches:
        if (d > 1.6)
            k = 5 / d; // a constant 5 inch tube between 1.6 and 2.5
        if (d >= 2.5)
            k = 2;
        break;
    case kMillimetres:
        if (50.55 < d && d < 63.5)
            k = 3 - (1 - (63.5 - d) / 12.7);
        if (d >= 63.5)
            k = 2;
        break;
    case kCentimetres:
        if (5.055 < d && d < 6.35)
            k = 3 - (1 - (6.35 - d) / 1.27);
        if (d >= 6.35)
            k = 2;
        break;
    default:
        break;
    }
    return k;
}

namespace {

D holeArea(float drill) {
    return (D(drill) / 2) * (D(drill) / 2) * kPi;
}

} // namespace

void calcFlameTube(CombustorFields& f) {
    const D d = f.m_InducerDiameter;
    f.m_InducerRadius = static_cast<float>(d / 2);
    f.m_InducerArea = static_cast<float>(D(f.m_InducerRadius) * D(f.m_InducerRadius) * kPi);
    const D k = diameterRatio(f.m_UnitIndex, f.m_InducerDiameter);
    f.m_TubeLength = static_cast<float>(d * 6);
    f.m_TubeDiameter = static_cast<float>(d * k);

    const D a1 = holeArea(f.m_PrimaryDrill);
    const D a2 = holeArea(f.m_SecondaryDrill);
    const D a3 = holeArea(f.m_TertiaryDrill);
    // The inducer area shared out: 30 % primary, 20 % secondary, 50 % tertiary.
    f.m_PrimaryHoleArea = static_cast<float>(D(f.m_InducerArea) * 0.3);
    f.m_SecondaryHoleArea = static_cast<float>(D(f.m_InducerArea) * 0.2);
    f.m_TertiaryHoleArea = static_cast<float>(D(f.m_InducerArea) * 0.5);
    f.m_PrimaryHoles = static_cast<float>(D(f.m_PrimaryHoleArea) / a1);
    f.m_SecondaryHoles = static_cast<float>(D(f.m_SecondaryHoleArea) / a2);
    f.m_TertiaryHoles = static_cast<float>(D(f.m_TertiaryHoleArea) / a3);
}

} // namespace combustor
