#include "sweep.hpp"

#include "messages.hpp"
#include "options.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace cli {

namespace {

double sweepNumber(std::string_view text, const std::string& sweepText) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size() || error != std::errc{} ||
        !std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
        throw BadInput("--sweep " + sweepText + ": " + shown(text) + " is not a number");
    return value;
}

} // namespace

Sweep parseSweep(const Calculation& calc, const std::string& sweepText) {
    const auto eq = sweepText.find('=');
    if (eq == std::string::npos)
        throw BadInput("--sweep " + shown(sweepText) + ": expected NAME=START:STOP:STEP");
    const std::string_view name(sweepText.data(), eq);
    const auto field = findField(calc.fields(), name);
    if (!field || !isInput(calc.fields()[*field]) || calc.fields()[*field].kind != Kind::Number)
        throw BadInput("--sweep " + sweepText + ": " + shown(name) +
                       " is not a number input; choose one of " + inputKeys(calc));
    std::string_view range(sweepText.data() + eq + 1, sweepText.size() - eq - 1);
    std::string_view parts[3];
    for (int i = 0; i < 3; ++i) {
        const auto colon = i < 2 ? range.find(':') : std::string_view::npos;
        if (i < 2 && colon == std::string_view::npos)
            throw BadInput("--sweep " + sweepText + ": expected NAME=START:STOP:STEP");
        parts[i] = range.substr(0, colon);
        range = i < 2 ? range.substr(colon + 1) : std::string_view{};
    }
    const double start = sweepNumber(parts[0], sweepText);
    const double stop = sweepNumber(parts[1], sweepText);
    const double step = sweepNumber(parts[2], sweepText);
    if (step == 0)
        throw BadInput("--sweep " + sweepText + ": the step is 0");
    const double span = (stop - start) / step;
    if (span < 0)
        throw BadInput("--sweep " + sweepText + ": the step goes away from the stop");
    // A stop within a billionth of a step of the grid counts as reached, so 0:1:0.1 has 11 points.
    const double last = std::floor(span + 1e-9);
    if (last + 1 > static_cast<double>(kMaxSweepPoints))
        throw BadInput("--sweep " + sweepText + ": more than " + std::to_string(kMaxSweepPoints) +
                       " points");
    return {*field, start, step, static_cast<std::size_t>(last) + 1};
}

float sweepValue(const Sweep& sweep, std::size_t index) {
    return static_cast<float>(sweep.start + static_cast<double>(index) * sweep.step);
}

} // namespace cli
