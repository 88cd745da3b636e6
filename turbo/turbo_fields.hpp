#pragma once
// The 26 numbers of the Turbo Analysis window, in the order the window binds them to its boxes.
// Lengths in inches, pressures in psi (P2 as gauge pressure), temperatures in degrees Celsius,
// efficiencies in percent. What each one is (label, box, default) is its row in fields/; here is
// only where the window keeps it.

#include "calculation_fields.hpp"

#include <array>
#include <string_view>

namespace turbo {

using fields::kTurboAnalysisTemplate;

struct TurboFields {
    // Every field at its default: the values a new window (and "RESET") starts from.
    TurboFields();

    float m_AmbientTemp;
    float m_CompTempRise;
    float m_ConvCm;
    float m_CompDischargeTemp;
    float m_CompEfficiency;
    float m_HubDiameter;
    float m_ConvInches;
    float m_InducerDiameter;
    float m_NozzlePr;
    float m_NozzleOutletDensity;
    float m_MassFlowEstimate;
    float m_MaxRpm;
    float m_MassFlow;
    float m_NozzleEfficiency;
    float m_NozzleArea;
    float m_NozzleDiameter;
    float m_NozzleExitTemp;
    float m_CompOutletDiameter;
    float m_P2;
    float m_AmbientPressure;
    float m_TurbineEfficiency;
    float m_Thrust;
    float m_TurbineOutletTemp;
    float m_TurbinePrRequired;
    float m_TurbineTempDrop;
    float m_NozzleVelocity;
};

// Which member holds each field of the form, in the binding order.
struct TurboBinding {
    std::string_view key;
    float TurboFields::*member;
};
inline constexpr std::array<TurboBinding, 26> kTurboBindings{{
    {"ambient-temp", &TurboFields::m_AmbientTemp},
    {"comp-temp-rise", &TurboFields::m_CompTempRise},
    {"conv-cm", &TurboFields::m_ConvCm},
    {"comp-discharge-temp", &TurboFields::m_CompDischargeTemp},
    {"comp-efficiency", &TurboFields::m_CompEfficiency},
    {"hub-diameter", &TurboFields::m_HubDiameter},
    {"conv-inches", &TurboFields::m_ConvInches},
    {"inducer-diameter", &TurboFields::m_InducerDiameter},
    {"nozzle-pr", &TurboFields::m_NozzlePr},
    {"nozzle-outlet-density", &TurboFields::m_NozzleOutletDensity},
    {"mass-flow-estimate", &TurboFields::m_MassFlowEstimate},
    {"max-rpm", &TurboFields::m_MaxRpm},
    {"mass-flow", &TurboFields::m_MassFlow},
    {"nozzle-efficiency", &TurboFields::m_NozzleEfficiency},
    {"nozzle-area", &TurboFields::m_NozzleArea},
    {"nozzle-diameter", &TurboFields::m_NozzleDiameter},
    {"nozzle-exit-temp", &TurboFields::m_NozzleExitTemp},
    {"comp-outlet-diameter", &TurboFields::m_CompOutletDiameter},
    {"p2", &TurboFields::m_P2},
    {"ambient-pressure", &TurboFields::m_AmbientPressure},
    {"turbine-efficiency", &TurboFields::m_TurbineEfficiency},
    {"thrust", &TurboFields::m_Thrust},
    {"turbine-outlet-temp", &TurboFields::m_TurbineOutletTemp},
    {"turbine-pr-required", &TurboFields::m_TurbinePrRequired},
    {"turbine-temp-drop", &TurboFields::m_TurbineTempDrop},
    {"nozzle-velocity", &TurboFields::m_NozzleVelocity},
}};

// The member holding a field, or null for a field the window does not keep.
constexpr float TurboFields::*turboMember(std::string_view key) {
    for (const auto& b : kTurboBindings)
        if (b.key == key)
            return b.member;
    return nullptr;
}

// Each bound field's box and default, in the binding order.
inline constexpr auto kTurboControls = [] {
    std::array<int, kTurboBindings.size()> controls{};
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i] = fields::formField(kTurboAnalysisTemplate, kTurboBindings[i].key).control;
    return controls;
}();
inline constexpr auto kTurboDefaults = [] {
    std::array<float, kTurboBindings.size()> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = fields::formField(kTurboAnalysisTemplate, kTurboBindings[i].key).defaultValue;
    return values;
}();

inline TurboFields::TurboFields() {
    for (std::size_t i = 0; i < kTurboBindings.size(); ++i)
        this->*kTurboBindings[i].member = kTurboDefaults[i];
}

// The Turbo Analysis window works with this single-precision pi; the combustor uses another.
inline constexpr float kPi = 3.1415927f;

} // namespace turbo
