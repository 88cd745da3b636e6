#include "atmosphere.hpp"

#include "turbo_fields.hpp"
#include "units.hpp"

#include <cmath>
#include <limits>

namespace turbo {

namespace {

constexpr double kSeaLevelKelvin = 288.15;
constexpr double kSeaLevelPascals = 101325;
constexpr double kLapseRate = 0.0065;           // K/m
constexpr double kAirGasConstant = 287.05287;   // J/(kg K), the standard's dry air
constexpr double kKelvinAtZeroCelsius = 273.15; // exact, unlike the cycle's rounded 273
// g0 / (R L) = 9.80665 / (287.05287 x 0.0065) = 5.25588 (5.255879812716677 in doubles).
const double kPressureExponent = fields::kStandardGravity / (kAirGasConstant * kLapseRate);

} // namespace

Ambient standardAmbient(float altitude) {
    using D = double;
    if (!(D(altitude) >= kLowestAltitude && D(altitude) <= kTropopause)) {
        constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
        return {kNone, kNone};
    }
    const D kelvin = kSeaLevelKelvin - kLapseRate * D(altitude);
    const D pascals = kSeaLevelPascals * std::pow(kelvin / kSeaLevelKelvin, kPressureExponent);
    return {static_cast<float>(kelvin - kKelvinAtZeroCelsius),
            static_cast<float>(pascals / fields::kPascalsPerPsi)};
}

Ambient chooseAmbient(std::optional<float> altitude, std::optional<float> typedTemp,
                      std::optional<float> typedPressure) {
    const TurboFields defaults;
    Ambient a{defaults.m_AmbientTemp, defaults.m_AmbientPressure};
    if (altitude)
        a = standardAmbient(*altitude);
    if (typedTemp)
        a.temp = *typedTemp;
    if (typedPressure)
        a.pressure = *typedPressure;
    return a;
}

} // namespace turbo
