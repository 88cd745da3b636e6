#pragma once
// The physical constants of the Turbo Analysis calculations, each named once with its unit. The
// formulas use them exactly as typed here, so the arithmetic is that of the original figures: an
// integer stays an integer (converted exactly where it meets a double), a decimal stays a double.

namespace turbo {

// Temperatures
inline constexpr int kZeroCelsiusInKelvin = 273; // K at 0 deg. C, as the formulas round it

// Compressor and turbine
inline constexpr double kAirExponent = 0.286;         // (gamma - 1) / gamma for air, gamma = 1.4
inline constexpr double kAirSpecificHeat = 0.24;      // Btu/(lb K), cold air in the compressor
inline constexpr double kGasSpecificHeat = 0.276;     // Btu/(lb K), hot gas in turbine and nozzle
inline constexpr double kMechanicalEfficiency = 0.99; // shaft and bearings between the wheels
inline constexpr double kGasExponent = 0.248; // (gamma - 1) / gamma for the hot gas, gamma ~ 1.33
inline constexpr double kGasExponentInverse = 4.032258064516129; // 1 / 0.248, the nearest double
inline constexpr double kCombustorPrLoss = 0.1; // taken off the compressor pressure ratio

// Fuel
inline constexpr int kSecondsPerHour = 3600;

// Jet nozzle
inline constexpr double kTwiceGravity = 64.4; // 2 g, ft/s²
// Mechanical equivalent of heat, 778 ft lbf/Btu, times 1.8 for temperatures in K (rounded).
inline constexpr int kWorkPerHeat = 1400; // ft lbf/(Btu K)
inline constexpr int kGasConstant = 96;   // ft lbf/(lb K), 53.3 ft lbf/(lb deg. R) x 1.8
inline constexpr int kSquareInchesPerSquareFoot = 144;
inline constexpr double kGravity = 32.2; // ft/s², lb/s over g is slug/s

// Compressor wheel
inline constexpr int kTipSpeed = 1450; // ft/s at maximum speed, the default of the tip speed
inline constexpr int kInchesPerFoot = 12;
inline constexpr int kSecondsPerMinute = 60;
// The mass-flow estimate's factors as the window has always had them: the inducer annulus in
// square feet x 500 / 14.59 gives lb/s.
inline constexpr int kInducerFlowFactor = 500;
inline constexpr double kInducerFlowDivisor = 14.59;

// Length converter
inline constexpr double kCentimetresPerInch = 2.54;

} // namespace turbo
