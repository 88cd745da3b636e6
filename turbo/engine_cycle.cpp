#include "engine_cycle.hpp"

#include <cmath>

namespace turbo {

// Every step works in double precision in the order written and is rounded to float where it is
// stored; each later step uses the rounded value. The casts below are those roundings.
CycleIntermediates calcFullAnalysis(TurboFields& f) {
    using D = double;
    CycleIntermediates in;

    in.compressorPr =
        static_cast<float>((D(f.m_P2) + D(f.m_AmbientPressure)) / D(f.m_AmbientPressure));
    f.m_CompTempRise =
        static_cast<float>((std::pow(D(in.compressorPr), 0.286) - 1) * (D(f.m_AmbientTemp) + 273) /
                           (D(f.m_CompEfficiency) / 100));
    f.m_CompDischargeTemp = static_cast<float>(D(f.m_CompTempRise) + D(f.m_AmbientTemp));
    // Turbine work equals compressor work: specific heats 0.24 (air) and 0.276 (gas), 99 %
    // mechanical.
    f.m_TurbineTempDrop = static_cast<float>(D(f.m_CompTempRise) * 0.24 / 0.276 / 0.99);
    // 1 / (1 - drop / (efficiency x 1061 K)), raised to 1 / 0.248.
    f.m_TurbinePrRequired = static_cast<float>(
        std::pow(-1 / (D(f.m_TurbineTempDrop) / (D(f.m_TurbineEfficiency) / 100 * 1061) - 1),
                 4.032258064516129));
    f.m_TurbineOutletTemp = static_cast<float>(788 - D(f.m_TurbineTempDrop));
    in.turbineOutletKelvin = static_cast<float>(1061 - D(f.m_TurbineTempDrop));
    // 0.1 off the compressor ratio for the combustor's pressure loss.
    f.m_NozzlePr = static_cast<float>((D(in.compressorPr) - 0.1) * D(f.m_AmbientPressure) /
                                      D(f.m_TurbinePrRequired) / D(f.m_AmbientPressure));
    const D t4 = in.turbineOutletKelvin;
    in.nozzleTempDrop = static_cast<float>((t4 - t4 / std::pow(D(f.m_NozzlePr), 0.248)) *
                                           (D(f.m_NozzleEfficiency) / 100));
    const D dTn = in.nozzleTempDrop;
    f.m_NozzleExitTemp = static_cast<float>(t4 - dTn - 273);
    f.m_NozzleVelocity = static_cast<float>(std::sqrt(dTn * 64.4 * 1400 * 0.276));
    f.m_NozzleOutletDensity =
        static_cast<float>((D(f.m_NozzleExitTemp) + 273) * 96 / D(f.m_AmbientPressure) / 144);
    f.m_NozzleArea = static_cast<float>(D(f.m_NozzleOutletDensity) * D(f.m_MassFlow) /
                                        D(f.m_NozzleVelocity) * 144);
    f.m_NozzleDiameter = static_cast<float>(2 * std::sqrt(D(f.m_NozzleArea) / D(kPi)));
    f.m_Thrust = static_cast<float>(D(f.m_MassFlow) / 32.2 * D(f.m_NozzleVelocity));
    return in;
}

} // namespace turbo
