#include "round_numbers.hpp"

#include <cmath>
#include <utility>

namespace explorer {

namespace {

// Conversions leave figures a few ulps off round ones; this much is taken as round.
constexpr double kSlack = 1e-9;

double floorTo(double value, double step) {
    return std::floor(value / step + kSlack) * step;
}
double ceilTo(double value, double step) {
    return std::ceil(value / step - kSlack) * step;
}

} // namespace

double roundStepAtLeast(double step) {
    if (!(step > 0) || !std::isfinite(step))
        return step;
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (const double mantissa : {1.0, 2.0, 5.0, 10.0})
        if (step <= mantissa * power * (1 + kSlack))
            return mantissa * power;
    return 10 * power;
}

RoundRange roundAxis(double low, double high, int ticks) {
    if (low > high)
        std::swap(low, high);
    if (!(low < high) || !std::isfinite(high - low) || ticks < 1)
        return {low, high, high - low};
    const double step = roundStepAtLeast((high - low) / ticks);
    return {floorTo(low, step), ceilTo(high, step), step};
}

RoundRange roundSweep(double from, double to, double step) {
    const bool falling = from > to;
    const auto axis = roundAxis(from, to, 7);
    if (!(axis.step > 0))
        return {from, to, step};
    const double fine = roundStepAtLeast(std::abs(step));
    return falling ? RoundRange{axis.to, axis.from, -fine} : RoundRange{axis.from, axis.to, fine};
}

} // namespace explorer
