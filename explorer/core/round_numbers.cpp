#include "round_numbers.hpp"

#include <algorithm>
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

RoundRange drawableAxis(double low, double high, int ticks) {
    ticks = std::max(ticks, 1);
    if (!std::isfinite(low))
        low = std::isfinite(high) ? high - 1 : 0;
    if (!std::isfinite(high))
        high = low + 1;
    if (low > high)
        std::swap(low, high);
    // Far enough inside the largest double that widening and rounding stay finite.
    constexpr double kLargest = 1e300;
    low = std::clamp(low, -kLargest, kLargest);
    high = std::clamp(high, -kLargest, kLargest);
    // Steps below a millionth of the ends' size are widened to it: ticks stay countable and
    // labels tell them apart.
    const double magnitude = std::max(std::abs(low), std::abs(high));
    const double narrowest = std::max(magnitude * 1e-6, 1e-300);
    if (!(high - low >= narrowest)) {
        const double middle = low / 2 + high / 2;
        low = middle - narrowest;
        high = middle + narrowest;
    }
    const RoundRange r = roundAxis(low, high, ticks);
    const double intervals = (r.to - r.from) / r.step;
    if (std::isfinite(r.from) && std::isfinite(r.to) && r.from < r.to && r.step > 0 &&
        intervals <= 4.0 * ticks + 2 && r.from + r.step != r.from && r.to - r.step != r.to)
        return r;
    return {low, high, 0.0}; // no round step: the axis's own evenly spaced ticks
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
