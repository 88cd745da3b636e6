#include "operating.hpp"

#include "atmosphere.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

namespace turbo {

namespace {
// A quiet NaN with a payload no typed "nan" carries.
constexpr std::uint32_t kNotGivenBits = 0x7fc0'a17du;
} // namespace

Limits limitsOf(float turbineInletTemp, float turbineOutletTemp, float tipSpeed, float nozzlePr) {
    Limits l;
    l.values = {turbineInletTemp, turbineOutletTemp, tipSpeed, nozzlePr};
    return l;
}

PointFigures pointFigures(const TurboFields& f, float turbineInletTemp, float tipSpeed,
                          const FuelInputs& fuel, const Limits& limits) {
    PointFigures p;
    p.fuel = calcFuel(fuel, f.m_CompDischargeTemp, turbineInletTemp, f.m_MassFlow, f.m_Thrust);
    p.limits =
        checkLimits(limits, {turbineInletTemp, f.m_TurbineOutletTemp, tipSpeed, f.m_NozzlePr});
    for (std::size_t i = 0; i < kLimitCount; ++i)
        if (p.limits.over[i] > 0)
            p.limitSet |= 1u << i;
    return p;
}

float notGiven() {
    return std::bit_cast<float>(kNotGivenBits);
}

bool isNotGiven(float value) {
    return std::bit_cast<std::uint32_t>(value) == kNotGivenBits;
}

void fillAmbient(float altitude, float& ambientTemp, float& ambientPressure) {
    auto typed = [](float v) { return isNotGiven(v) ? std::nullopt : std::optional<float>(v); };
    const auto a = chooseAmbient(std::isnan(altitude) ? std::nullopt : std::optional(altitude),
                                 typed(ambientTemp), typed(ambientPressure));
    ambientTemp = a.temp;
    ambientPressure = a.pressure;
}

} // namespace turbo
