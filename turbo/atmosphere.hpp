#pragma once
// The ambient temperature and pressure at an airfield's altitude, from the International Standard
// Atmosphere's troposphere (ICAO Doc 7488/3, the same model as ISO 2533): 288.15 K and 101325 Pa
// at sea level, falling 0.0065 K per metre. The altitude is geopotential; below 11 km the
// difference from the height above sea level is under 0.2 %.

#include <optional>

namespace turbo {

// The troposphere as the standard tabulates it: from 5 km below sea level up to the tropopause.
inline constexpr double kLowestAltitude = -5000; // m
inline constexpr double kTropopause = 11000;     // m

struct Ambient {
    float temp;     // deg. C
    float pressure; // psi, absolute
};

// T = 288.15 - 0.0065 h and p = 101325 (T / 288.15)^(g0 / (R L)), in the forms' units. Both NaN
// for an altitude outside the troposphere, where these formulas are not the standard's.
Ambient standardAmbient(float altitude);

// What the cycle takes: a typed value wins, then the altitude's, then the window's defaults
// (15 deg. C, 14.7 psi), each of the two on its own.
Ambient chooseAmbient(std::optional<float> altitude, std::optional<float> typedTemp,
                      std::optional<float> typedPressure);

} // namespace turbo
