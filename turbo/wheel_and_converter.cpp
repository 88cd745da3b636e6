#include "wheel_and_converter.hpp"

#include "turbo_constants.hpp"

namespace turbo {

// Double precision in the order written, rounded to float where stored.
using D = double;

void calcMaxRpm(TurboFields& f, float tipSpeed) {
    // pi x diameter / 12 is the circumference in feet.
    f.m_MaxRpm = static_cast<float>(
        D(tipSpeed) / (D(kPi) * D(f.m_CompOutletDiameter) / kInchesPerFoot) * kSecondsPerMinute);
}

void calcMassFlow(TurboFields& f) {
    const D inducer = f.m_InducerDiameter;
    const D hub = f.m_HubDiameter;
    f.m_MassFlowEstimate = static_cast<float>(
        ((inducer / 2) * (inducer / 2) * D(kPi) - (hub / 2) * (hub / 2) * D(kPi)) /
        kSquareInchesPerSquareFoot * kInducerFlowFactor / kInducerFlowDivisor);
    f.m_MassFlow = f.m_MassFlowEstimate;
}

void convertLength(TurboFields& f) {
    if (f.m_ConvCm > f.m_ConvInches)
        f.m_ConvInches = static_cast<float>(D(f.m_ConvCm) / kCentimetresPerInch);
    // Compares with what the first step may just have stored.
    if (f.m_ConvInches > f.m_ConvCm)
        f.m_ConvCm = static_cast<float>(D(f.m_ConvInches) * kCentimetresPerInch);
}

} // namespace turbo
