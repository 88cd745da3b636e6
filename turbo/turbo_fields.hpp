#pragma once
// The 26 numbers of the Turbo Analysis window, in the order the window binds them to its boxes,
// with the values a new window (and "RESET") starts from. Lengths in inches, pressures in psi
// (P2 as gauge pressure), temperatures in degrees Celsius, efficiencies in percent.

namespace turbo {

struct TurboFields {
    float m_AmbientTemp = 15.0f;
    float m_CompTempRise = 0.0f;
    float m_ConvCm = 0.0f;
    float m_CompDischargeTemp = 0.0f;
    float m_CompEfficiency = 70.0f;
    float m_HubDiameter = 1.2f;
    float m_ConvInches = 0.0f;
    float m_InducerDiameter = 3.0f;
    float m_NozzlePr = 0.0f;
    float m_NozzleOutletDensity = 0.0f;
    float m_MassFlowEstimate = 0.0f;
    float m_MaxRpm = 0.0f;
    float m_MassFlow = 1.41f;
    float m_NozzleEfficiency = 90.0f;
    float m_NozzleArea = 0.0f;
    float m_NozzleDiameter = 0.0f;
    float m_NozzleExitTemp = 0.0f;
    float m_CompOutletDiameter = 4.3f;
    float m_P2 = 32.0f;
    float m_AmbientPressure = 14.7f;
    float m_TurbineEfficiency = 78.0f;
    float m_Thrust = 0.0f;
    float m_TurbineOutletTemp = 0.0f;
    float m_TurbinePrRequired = 0.0f;
    float m_TurbineTempDrop = 0.0f;
    float m_NozzleVelocity = 0.0f;
};

// The Turbo Analysis window works with this single-precision pi; the combustor uses another.
inline constexpr float kPi = 3.1415927f;

} // namespace turbo
