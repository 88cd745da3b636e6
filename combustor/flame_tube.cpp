#include "flame_tube.hpp"

namespace combustor {

// Double precision in the order written, rounded to float where stored.
using D = double;

namespace {

// The tube's proportions, as multiples of the inducer diameter D.
constexpr int kLengthRatio = 6;      // tube length
constexpr int kNarrowRatio = 3;      // tube diameter of a small inducer
constexpr int kWideRatio = 2;        // tube diameter of a large inducer
constexpr int kSteadyTubeInches = 5; // the tube diameter between the two in inches

// Where the diameter ratio changes, per unit system. In inches it is 3 up to 1.6, a 5 inch tube up
// to 2.5, then 2; in mm and cm it falls linearly from just above 3 to 2 between the two bounds.
constexpr double kInchesSteadyFrom = 1.6;
constexpr double kInchesWideFrom = 2.5;
constexpr double kMillimetresFallFrom = 50.55;
constexpr double kMillimetresWideFrom = 63.5;
constexpr double kMillimetresFallSpan = 12.7; // the fall of the ratio by 1 over this many mm
constexpr double kCentimetresFallFrom = 5.055;
constexpr double kCentimetresWideFrom = 6.35;
constexpr double kCentimetresFallSpan = 1.27;

// The inducer area shared out among the rows of air holes.
constexpr double kPrimaryShare = 0.3;
constexpr double kSecondaryShare = 0.2;
constexpr double kTertiaryShare = 0.5;

} // namespace

double diameterRatio(int unitIndex, float inducerDiameter) {
    const D d = inducerDiameter;
    D k = kNarrowRatio;
    // The second test of each system overrides the first.
    switch (unitIndex) {
    case kInches:
        if (d > kInchesSteadyFrom)
            k = kSteadyTubeInches / d;
        if (d >= kInchesWideFrom)
            k = kWideRatio;
        break;
    case kMillimetres:
        if (kMillimetresFallFrom < d && d < kMillimetresWideFrom)
            k = kNarrowRatio - (1 - (kMillimetresWideFrom - d) / kMillimetresFallSpan);
        if (d >= kMillimetresWideFrom)
            k = kWideRatio;
        break;
    case kCentimetres:
        if (kCentimetresFallFrom < d && d < kCentimetresWideFrom)
            k = kNarrowRatio - (1 - (kCentimetresWideFrom - d) / kCentimetresFallSpan);
        if (d >= kCentimetresWideFrom)
            k = kWideRatio;
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
    f.m_TubeLength = static_cast<float>(d * kLengthRatio);
    f.m_TubeDiameter = static_cast<float>(d * k);

    const D a1 = holeArea(f.m_PrimaryDrill);
    const D a2 = holeArea(f.m_SecondaryDrill);
    const D a3 = holeArea(f.m_TertiaryDrill);
    f.m_PrimaryHoleArea = static_cast<float>(D(f.m_InducerArea) * kPrimaryShare);
    f.m_SecondaryHoleArea = static_cast<float>(D(f.m_InducerArea) * kSecondaryShare);
    f.m_TertiaryHoleArea = static_cast<float>(D(f.m_InducerArea) * kTertiaryShare);
    f.m_PrimaryHoles = static_cast<float>(D(f.m_PrimaryHoleArea) / a1);
    f.m_SecondaryHoles = static_cast<float>(D(f.m_SecondaryHoleArea) / a2);
    f.m_TertiaryHoles = static_cast<float>(D(f.m_TertiaryHoleArea) / a3);
}

} // namespace combustor
