#include "limits.hpp"

#include "engine_cycle.hpp"
#include "turbo_constants.hpp"

#include <cmath>

namespace turbo {

namespace {

using Q = fields::Quantity;

constexpr std::array<LimitInfo, kLimitCount> kLimits{{
    {Limit::TurbineInletTemp, "turbine-inlet-temp-limit", "turbine inlet temperature",
     Q::Temperature},
    {Limit::TurbineOutletTemp, "turbine-outlet-temp-limit", "turbine outlet temperature",
     Q::Temperature},
    {Limit::TipSpeed, "tip-speed-limit", "tip speed", Q::Velocity},
    {Limit::NozzleCriticalPr, "nozzle-critical-pr", "nozzle critical PR", Q::None},
}};

constexpr bool inEnumOrder() {
    for (std::size_t i = 0; i < kLimits.size(); ++i)
        if (static_cast<std::size_t>(kLimits[i].limit) != i)
            return false;
    return true;
}
static_assert(inEnumOrder(), "the table is looked up by the limit's number");

constexpr float kDefaultTurbineOutletTempLimit = 720.0f; // deg. C

} // namespace

std::span<const LimitInfo> limitInfos() {
    return kLimits;
}

const LimitInfo& limitInfo(Limit limit) {
    return kLimits[static_cast<std::size_t>(limit)];
}

double nozzleCriticalPressureRatio() {
    // 1 + (gamma - 1) / 2 written with the exponent g = (gamma - 1) / gamma: gamma - 1 = g gamma
    // and gamma = 1 / (1 - g).
    return std::pow(1 + kGasExponent / (2 * (1 - kGasExponent)), kGasExponentInverse);
}

Limits::Limits() {
    auto& l = *this;
    l[Limit::TurbineInletTemp] = kDefaultTurbineInletTemp;
    l[Limit::TurbineOutletTemp] = kDefaultTurbineOutletTempLimit;
    l[Limit::TipSpeed] = static_cast<float>(kTipSpeed);
    l[Limit::NozzleCriticalPr] = static_cast<float>(nozzleCriticalPressureRatio());
}

bool LimitExcess::any() const {
    for (const float o : over)
        if (o > 0)
            return true;
    return false;
}

LimitExcess checkLimits(const Limits& limits, const LimitedFigures& figures) {
    using D = double;
    const std::array<float, kLimitCount> values{figures.turbineInletTemp, figures.turbineOutletTemp,
                                                figures.tipSpeed, figures.nozzlePr};
    LimitExcess e;
    for (std::size_t i = 0; i < kLimitCount; ++i)
        if (values[i] > limits.values[i])
            e.over[i] = static_cast<float>(D(values[i]) - D(limits.values[i]));
    return e;
}

std::string exceededKeys(const LimitExcess& excess) {
    std::string keys;
    for (const auto& info : kLimits)
        if (excess.exceeds(info.limit)) {
            if (!keys.empty())
                keys += ' ';
            keys += info.key;
        }
    return keys;
}

} // namespace turbo
