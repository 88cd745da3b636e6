#include "engine_cycle.hpp"

#include "turbo_constants.hpp"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace turbo {

// Every step works in double precision in the order written and is rounded to float where it is
// stored; each later step uses the rounded value. The casts below are those roundings.
CycleIntermediates calcFullAnalysis(TurboFields& f, float turbineInletTemp, double pressureLoss) {
    using D = double;
    CycleIntermediates in;
    const D inletTemp = turbineInletTemp;                   // deg. C
    const D inletKelvin = inletTemp + kZeroCelsiusInKelvin; // 1061 K at 788 deg. C

    in.compressorPr =
        static_cast<float>((D(f.m_P2) + D(f.m_AmbientPressure)) / D(f.m_AmbientPressure));
    f.m_CompTempRise = static_cast<float>((std::pow(D(in.compressorPr), kAirExponent) - 1) *
                                          (D(f.m_AmbientTemp) + kZeroCelsiusInKelvin) /
                                          (D(f.m_CompEfficiency) / 100));
    f.m_CompDischargeTemp = static_cast<float>(D(f.m_CompTempRise) + D(f.m_AmbientTemp));
    // Turbine work equals compressor work.
    f.m_TurbineTempDrop = static_cast<float>(D(f.m_CompTempRise) * kAirSpecificHeat /
                                             kGasSpecificHeat / kMechanicalEfficiency);
    // 1 / (1 - drop / (efficiency x inlet temperature in K)), raised to 1 / 0.248.
    in.turbineShare = D(f.m_TurbineTempDrop) / (D(f.m_TurbineEfficiency) / 100 * inletKelvin);
    f.m_TurbinePrRequired =
        static_cast<float>(std::pow(-1 / (in.turbineShare - 1), kGasExponentInverse));
    f.m_TurbineOutletTemp = static_cast<float>(inletTemp - D(f.m_TurbineTempDrop));
    in.turbineOutletKelvin = static_cast<float>(inletKelvin - D(f.m_TurbineTempDrop));
    f.m_NozzlePr = static_cast<float>((D(in.compressorPr) - pressureLoss) * D(f.m_AmbientPressure) /
                                      D(f.m_TurbinePrRequired) / D(f.m_AmbientPressure));
    const D t4 = in.turbineOutletKelvin;
    in.nozzleTempDrop = static_cast<float>((t4 - t4 / std::pow(D(f.m_NozzlePr), kGasExponent)) *
                                           (D(f.m_NozzleEfficiency) / 100));
    const D dTn = in.nozzleTempDrop;
    f.m_NozzleExitTemp = static_cast<float>(t4 - dTn - kZeroCelsiusInKelvin);
    f.m_NozzleVelocity =
        static_cast<float>(std::sqrt(dTn * kTwiceGravity * kWorkPerHeat * kGasSpecificHeat));
    // Specific volume R T / p, with p in lb/sq ft.
    f.m_NozzleOutletDensity =
        static_cast<float>((D(f.m_NozzleExitTemp) + kZeroCelsiusInKelvin) * kGasConstant /
                           D(f.m_AmbientPressure) / kSquareInchesPerSquareFoot);
    f.m_NozzleArea = static_cast<float>(D(f.m_NozzleOutletDensity) * D(f.m_MassFlow) /
                                        D(f.m_NozzleVelocity) * kSquareInchesPerSquareFoot);
    f.m_NozzleDiameter = static_cast<float>(2 * std::sqrt(D(f.m_NozzleArea) / D(kPi)));
    f.m_Thrust = static_cast<float>(D(f.m_MassFlow) / kGravity * D(f.m_NozzleVelocity));
    return in;
}

float solveTurbineInletTemp(const TurboFields& f, float turbineOutletTemp) {
    TurboFields g = f;
    calcFullAnalysis(g); // for the drop, which no inlet temperature changes
    return turbineInletTempFor(g.m_TurbineTempDrop, turbineOutletTemp);
}

float turbineInletTempFor(float turbineTempDrop, float turbineOutletTemp) {
    using D = double;
    const D drop = turbineTempDrop;
    const D wanted = turbineOutletTemp;
    const auto missBy = [&](float inlet) {
        return std::abs(D(static_cast<float>(D(inlet) - drop)) - wanted);
    };
    float best = static_cast<float>(wanted + drop);
    if (!std::isfinite(best))
        return best;
    // The sum is rounded once; a float or two either side may give the outlet back where it
    // does not.
    const float first = best;
    D bestMiss = missBy(best);
    constexpr float kInf = std::numeric_limits<float>::infinity();
    for (const float toward : {-kInf, kInf}) {
        float next = first;
        for (int step = 0; step < 2 && bestMiss > 0; ++step) {
            next = std::nextafter(next, toward);
            if (const D miss = missBy(next); miss < bestMiss) {
                best = next;
                bestMiss = miss;
            }
        }
    }
    return best;
}

double typedDecimal(float typed) {
    if (!std::isfinite(typed))
        return typed;
    // The shortest text that reads back to this float, read again as a double.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, typed);
    double value = typed;
    std::from_chars(text, written.ptr, value);
    return value;
}

} // namespace turbo
