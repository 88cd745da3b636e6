#include "limits.hpp"

#include "engine_cycle.hpp"
#include "turbo_constants.hpp"

#include <cmath>

namespace turbo {

namespace {

using Q = fields::Quantity;

using fields::kLimitKeys;
static_assert(kLimitKeys.size() == kLimitCount, "one key per limit");

constexpr std::array<LimitInfo, kLimitCount> kLimits{{
    {Limit::TurbineInletTemp, kLimitKeys[0], "turbine inlet temperature", Q::Temperature},
    {Limit::TurbineOutletTemp, kLimitKeys[1], "turbine outlet temperature", Q::Temperature},
    {Limit::TipSpeed, kLimitKeys[2], "tip speed", Q::Velocity},
    {Limit::NozzleCriticalPr, kLimitKeys[3], "nozzle critical PR", Q::None},
    {Limit::SurgeMargin, kLimitKeys[4], "surge margin", Q::Percent},
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
    l[Limit::SurgeMargin] = 0;
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
                                                figures.tipSpeed, figures.nozzlePr,
                                                figures.surgeMargin};
    LimitExcess e;
    for (std::size_t i = 0; i < kLimitCount; ++i) {
        const float limit = limits.values[i];
        if (static_cast<Limit>(i) == Limit::SurgeMargin) {
            if (values[i] < limit)
                e.over[i] = static_cast<float>(D(limit) - D(values[i]));
        } else if (values[i] > limit) {
            e.over[i] = static_cast<float>(D(values[i]) - D(limit));
        }
    }
    return e;
}

unsigned limitSet(const LimitExcess& excess) {
    unsigned set = 0;
    for (std::size_t i = 0; i < kLimitCount; ++i)
        if (excess.over[i] > 0)
            set |= 1u << i;
    return set;
}

} // namespace turbo
