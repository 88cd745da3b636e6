#include "sweep_option.hpp"

#include "messages.hpp"
#include "options.hpp"

#include <string_view>

namespace cli {

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
    double numbers[3];
    for (int i = 0; i < 3; ++i) {
        const auto colon = i < 2 ? range.find(':') : std::string_view::npos;
        if (i < 2 && colon == std::string_view::npos)
            throw BadInput("--sweep " + sweepText + ": expected NAME=START:STOP:STEP");
        const auto part = range.substr(0, colon);
        const auto number = fields::parseSweepNumber(part);
        if (!number)
            throw BadInput("--sweep " + sweepText + ": " + shown(part) + " is not a number");
        numbers[i] = *number;
        range = i < 2 ? range.substr(colon + 1) : std::string_view{};
    }
    Sweep sweep{*field, {}};
    switch (fields::planSweep(numbers[0], numbers[1], numbers[2], sweep.points)) {
    case fields::SweepProblem::None:
        return sweep;
    case fields::SweepProblem::ZeroStep:
        throw BadInput("--sweep " + sweepText + ": the step is 0");
    case fields::SweepProblem::AwayFromStop:
        throw BadInput("--sweep " + sweepText + ": the step goes away from the stop");
    case fields::SweepProblem::TooManyPoints:
        throw BadInput("--sweep " + sweepText + ": more than " +
                       std::to_string(fields::kMaxSweepPoints) + " points");
    case fields::SweepProblem::NotFinite:
        break;
    }
    throw BadInput("--sweep " + sweepText + ": not a finite range");
}

} // namespace cli
