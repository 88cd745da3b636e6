#include "wheel_and_converter.hpp"

namespace turbo {

// Double precision in the order written, rounded to float where stored.
using D = double;

void calcMaxRpm(TurboFields& f) {
    // pi x diameter / 12 is the circumference in feet.
    f.m_MaxRpm = static_cast<float>(1450 / (D(kPi) * D(f.m_CompOutletDiameter) / 12) * 60);
}

void calcMassFlow(TurboFields& f) {
    const D inducer = f.m_InducerDiameter;
    const D hub = f.m_HubDiameter;
    f.m_MassFlowEstimate = static_cast<float>(
        ((inducer / 2) * (inducer / 2) * D(kPi) - (hub / 2) * (hub / 2) * D(kPi)) / 144 * 500 /
        14.59);
    f.m_MassFlow = f.m_MassFlowEstimate;
}

void convertLength(TurboFields& f) {
    if (f.m_ConvCm > f.m_ConvInches)
        f.m_ConvInches = static_cast<float>(D(f.m_ConvCm) / 2.54);
    // Compares with what the first step may just have stored.
    if (f.m_ConvInches > f.m_ConvCm)
        f.m_ConvCm = static_cast<float>(D(f.m_ConvInches) * 2.54);
}

} // namespace turbo
