#include "input_range.hpp"

#include "atmosphere.hpp"
#include "engine.hpp"
#include "number_text.hpp"
#include "operating.hpp"

#include <cmath>
#include <limits>

namespace turbo {

namespace {

std::string text(double value) {
    return fields::formatFloat(static_cast<float>(value));
}

} // namespace

std::optional<RangeProblem> inputRangeProblem(const RangeInputs& in) {
    const auto typed = [](float v) { return isNotGiven(v) ? std::nullopt : std::optional(v); };
    const auto altitude = std::isnan(in.altitude) ? std::nullopt : std::optional(in.altitude);
    const bool altitudeUsed = altitude && (!typed(in.ambientTemp) || !typed(in.ambientPressure));
    if (altitudeUsed && !(*altitude >= kLowestAltitude && *altitude <= kTropopause))
        return RangeProblem{"altitude", "is outside the atmosphere the program models, the "
                                        "troposphere from " +
                                            text(kLowestAltitude) + " to " + text(kTropopause) +
                                            " m"};
    // The ambient values the cycle will take, typed or from the altitude or the defaults.
    const Ambient ambient =
        chooseAmbient(altitude, typed(in.ambientTemp), typed(in.ambientPressure));

    // Compared as stored: a typed -273.15 is the float nearest to it, a hair above.
    const auto belowZero = [](float t) {
        return !std::isnan(t) && t <= static_cast<float>(kAbsoluteZeroCelsius);
    };
    const std::string coldest =
        "is at or below absolute zero (" + text(kAbsoluteZeroCelsius) + " deg. C)";
    if (belowZero(ambient.temp))
        return RangeProblem{"ambient-temp", coldest};
    if (belowZero(in.turbineInletTemp))
        return RangeProblem{"turbine-inlet-temp", coldest};
    if (belowZero(in.measuredTurbineOutletTemp))
        return RangeProblem{"measured-turbine-outlet-temp", coldest};

    const struct {
        std::string_view key;
        float value;
    } efficiencies[] = {{"comp-efficiency", in.compEfficiency},
                        {"turbine-efficiency", in.turbineEfficiency},
                        {"nozzle-efficiency", in.nozzleEfficiency},
                        {"combustion-efficiency", in.combustionEfficiency}};
    for (const auto& e : efficiencies)
        if (e.value <= 0 || e.value > 100)
            return RangeProblem{e.key, "is outside an efficiency's range: above 0, at most 100 %"};

    if (ambient.pressure <= 0)
        return RangeProblem{"ambient-pressure", "is not above zero, as an absolute pressure is"};
    // P2 is gauge: the compressor's absolute outlet pressure is P2 plus the ambient's.
    if (double(in.p2) + double(ambient.pressure) <= 0)
        return RangeProblem{"p2", "with the ambient pressure gives an absolute pressure not "
                                  "above zero"};
    return std::nullopt;
}

std::optional<RangeProblem> inputRangeProblem(const EngineInputs& in, bool efficiencyFromMap) {
    using I = EngineInput;
    const float notChecked = std::numeric_limits<float>::quiet_NaN();
    return inputRangeProblem(RangeInputs{
        in[I::AmbientTemp], in[I::AmbientPressure], in[I::P2],
        efficiencyFromMap ? notChecked : in[I::CompEfficiency], in[I::TurbineEfficiency],
        in[I::NozzleEfficiency], in[input("combustion-efficiency")], in[I::TurbineInletTemp],
        in[I::MeasuredTurbineOutletTemp], in[input("altitude")]});
}

} // namespace turbo
