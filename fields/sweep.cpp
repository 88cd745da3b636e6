#include "sweep.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace fields {

SweepProblem planSweep(double start, double stop, double step, Sweep& sweep,
                       std::size_t maxPoints) {
    if (!std::isfinite(start) || !std::isfinite(stop) || !std::isfinite(step))
        return SweepProblem::NotFinite;
    if (step == 0)
        return SweepProblem::ZeroStep;
    const double span = (stop - start) / step;
    if (span < 0)
        return SweepProblem::AwayFromStop;
    // A stop within a billionth of a step of the grid counts as reached, so 0:1:0.1 has 11 points.
    const double last = std::floor(span + 1e-9);
    if (last + 1 > static_cast<double>(maxPoints))
        return SweepProblem::TooManyPoints;
    sweep = {start, step, static_cast<std::size_t>(last) + 1};
    return SweepProblem::None;
}

std::optional<double> parseSweepNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size() || error != std::errc{} ||
        !std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return value;
}

} // namespace fields
