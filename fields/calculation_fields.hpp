#pragma once
// The fields of each calculation, described once: the key that names it on the command line and
// in files, where and how the form shows it (frame, label, unit text, control number), the
// quantity that decides its units, its default, and whether the calculation reads it or writes
// it. The windows' exchange, the engine's inputs and results, the command line's options, help and
// completion, and the Design Explorer's columns, headings and files all come from here; a test
// holds the labels and control numbers against the templates.

#include "units.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace fields {

enum class Role {
    In,    // read by the calculation: an option and an input column
    Out,   // written by it: a result
    InOut, // both (the converter writes back into one of its boxes; the engine's mass flow
           // becomes the estimate when the candidate asks for it)
};

enum class Kind {
    Number, // a float field
    Units,  // the combustor's unit list: in, mm, cm or none
    Choice, // a word from Field::choices
};

struct Field {
    std::string_view key;   // the member's name without "m_", in kebab-case
    std::string_view frame; // the frame of the form holding the box ("" when untitled)
    std::string_view label; // the label on the form
    std::string_view unit;  // the unit text beside the box on the form ("" for none)
    Quantity quantity = Quantity::None;
    Role role = Role::In;
    Kind kind = Kind::Number;
    bool required = false; // an input that has no useful default
    int control = 0;       // the box's control number on the form, 0 where no form shows it
    std::span<const std::string_view> choices = {}; // the words a Choice field takes
    float defaultValue = 0;            // a new window's value, in the forms' units (0 for results)
    std::string_view display = {};     // the name in headings where the label will not do
    std::string_view description = {}; // for help and tooltips where label and unit will not do
    bool mayBeEmpty = false; // a result that may have no figure: NaN is written as an empty cell
};

constexpr bool isInput(const Field& f) {
    return f.role != Role::Out;
}
constexpr bool isResult(const Field& f) {
    return f.role != Role::In;
}

// The label without its colon and without a unit it carries in brackets, for headings that add
// the unit of the chosen system: "P2 (psig):" -> "P2", "Compressor Outlet Diameter(inches):" ->
// "Compressor Outlet Diameter", "Thrust:" -> "Thrust".
constexpr std::string_view plainLabel(const Field& f) {
    std::string_view label = f.label;
    if (const auto bracket = label.find('('); bracket != std::string_view::npos)
        label = label.substr(0, bracket);
    while (!label.empty() && (label.back() == ':' || label.back() == ' '))
        label.remove_suffix(1);
    return label;
}

// The name in headings and lists: the display name, else the plain label.
constexpr std::string_view displayName(const Field& f) {
    return f.display.empty() ? plainLabel(f) : f.display;
}

// One line on the field for help, the manual page and tooltips: the description, else the label
// (or, for a box without one, its unit text) without its colon, then ", " and the unit text.
std::string describe(const Field& f);

// The templates of the two windows whose fields these are.
inline constexpr int kTurboAnalysisTemplate = 132;
inline constexpr int kCombustorTemplate = 131;

struct CalculationFields {
    std::string_view name;
    std::string_view summary;
    int dialog; // the template of the window it comes from, 0 for none
    std::span<const Field> fields;
};

// A measured turbine outlet temperature: given, the first of these inputs makes the second a
// result solved from it; never both.
inline constexpr std::pair<std::string_view, std::string_view> kOutletGiven{"turbine-outlet-temp",
                                                                            "turbine-inlet-temp"};

namespace detail {

constexpr Field number(Role role, std::string_view key, int control, std::string_view frame,
                       std::string_view label, std::string_view unit, Quantity quantity,
                       float defaultValue = 0) {
    return Field{key,          frame, label,   unit, quantity,    role,
                 Kind::Number, false, control, {},   defaultValue};
}
constexpr Field withRole(Field f, Role role) {
    f.role = role;
    return f;
}
constexpr Field described(Field f, std::string_view description) {
    f.description = description;
    return f;
}

// Frames of the Turbo Analysis form.
inline constexpr std::string_view kMaxRpmFrame = "Max Turbo RPM";
inline constexpr std::string_view kMassFlowFrame = "Mass Flow Rate";
inline constexpr std::string_view kCompressorFrame = "Full Analysis - Compressor and Turbine";
inline constexpr std::string_view kNozzleFrame = "Full Analysis - Nozzle";
inline constexpr std::string_view kHolesFrame = "Flame Tube Holes";
inline constexpr std::string_view kDrillsFrame = "Drill Hole Diameters";

using Q = Quantity;
using R = Role;

inline constexpr Field kCompOutletDiameter =
    number(R::In, "comp-outlet-diameter", 1000, kMaxRpmFrame,
           "Compressor Outlet Diameter(inches):", "", Q::Length, 4.3f);
inline constexpr Field kMaxRpm =
    number(R::Out, "max-rpm", 1002, kMaxRpmFrame, "Max RPM:", "", Q::Speed);
inline constexpr Field kInducerDiameter = number(R::In, "inducer-diameter", 1003, kMassFlowFrame,
                                                 "Inducer Diameter:", "", Q::Length, 3.0f);
inline constexpr Field kHubDiameter =
    number(R::In, "hub-diameter", 1004, kMassFlowFrame, "Hub Diameter:", "", Q::Length, 1.2f);
// The form labels both mass flows "Mass Flow Rate:".
inline constexpr Field kMassFlowEstimate = [] {
    Field f = number(R::Out, "mass-flow-estimate", 1006, kMassFlowFrame, "Mass Flow Rate:", "",
                     Q::MassFlow);
    f.display = "Mass Flow Estimate";
    return f;
}();
inline constexpr Field kMassFlow =
    number(R::In, "mass-flow", 1028, kCompressorFrame, "Mass Flow Rate:", "", Q::MassFlow, 1.41f);

inline constexpr std::array<std::string_view, 3> kMassFlowSources{"typed", "estimate", "turbine"};
// Not on the form: whether a candidate engine's mass flow is typed, the wheel's estimate, or what
// its turbine passes (turbine-area).
inline constexpr Field kMassFlowSource{"mass-flow-source",
                                       kCompressorFrame,
                                       "Mass Flow Source:",
                                       "",
                                       Q::None,
                                       R::In,
                                       Kind::Choice,
                                       false,
                                       0,
                                       kMassFlowSources};

// The cycle's inputs after the mass flow and its results, in the order the form shows them, top to
// bottom; the turbine inlet temperature, which the form holds fixed, comes last among the inputs.
inline constexpr auto kCycleInputs = std::to_array<Field>({
    number(R::In, "p2", 1007, kCompressorFrame, "P2 (psig):", "", Q::GaugePressure, 32.0f),
    number(R::In, "comp-efficiency", 1010, kCompressorFrame, "Comp. Efficiency:", "%", Q::Percent,
           70.0f),
    number(R::In, "turbine-efficiency", 1018, kCompressorFrame, "Turbine Efficiency:", "%",
           Q::Percent, 78.0f),
    number(R::In, "nozzle-efficiency", 1021, kCompressorFrame, "Nozzle Efficiency:", "%",
           Q::Percent, 90.0f),
    number(R::In, "ambient-temp", 1014, kCompressorFrame, "Ambient Temp.:", "deg. C",
           Q::Temperature, 15.0f),
    number(R::In, "ambient-pressure", 1030, kCompressorFrame, "Ambient Pressure:", "", Q::Pressure,
           14.7f),
    // The most the turbine takes in steady running; the form holds it fixed.
    number(R::In, "turbine-inlet-temp", 0, kCompressorFrame, "Turbine Inlet Temp.:", "deg. C",
           Q::Temperature, 788.0f),
});
inline constexpr auto kCycleResults = std::to_array<Field>({
    number(R::Out, "comp-temp-rise", 1011, kCompressorFrame,
           "Compressor Temperature Rise:", "deg. C", Q::Temperature),
    number(R::Out, "comp-discharge-temp", 1013, kCompressorFrame,
           "Compressor Discharge Temperature:", "deg. C", Q::Temperature),
    number(R::Out, "turbine-temp-drop", 1015, kCompressorFrame, "Turbine Temp. Drop:", "",
           Q::Temperature),
    number(R::Out, "turbine-outlet-temp", 1020, kCompressorFrame, "Turbine Outlet Temp.:", "deg. C",
           Q::Temperature),
    number(R::Out, "turbine-pr-required", 1017, kCompressorFrame, "Turbine PR Required:", "",
           Q::None),
    number(R::Out, "nozzle-pr", 1019, kNozzleFrame, "Nozzle PR:", "", Q::None),
    number(R::Out, "nozzle-exit-temp", 1022, kNozzleFrame, "Nozzle Exit Temp:", "deg. C",
           Q::Temperature),
    number(R::Out, "nozzle-velocity", 1023, kNozzleFrame, "Nozzle Velocity:", "ft./sec.",
           Q::Velocity),
    number(R::Out, "nozzle-outlet-density", 1024, kNozzleFrame,
           "Jet Nozzle Outlet Density:", "cu ft/lb.", Q::SpecificVolume),
    number(R::Out, "nozzle-area", 1025, kNozzleFrame, "Jet Nozzle Area:", "sq. in.", Q::Area),
    number(R::Out, "nozzle-diameter", 1026, kNozzleFrame, "Jet Nozzle Diameter:", "in.", Q::Length),
    number(R::Out, "thrust", 1027, kNozzleFrame, "Thrust:", "lbs.", Q::Force),
});
// What a builder asks beyond the window: the fuel, the two assumptions the window keeps fixed
// (the wheel's tip speed, the pressure loss ahead of the nozzle), the airfield's altitude and the
// limits of turbine, wheel and nozzle. Each default keeps the window's figures.
inline constexpr std::array<std::string_view, 4> kFuelWords{"kerosene", "diesel", "propane",
                                                            "custom"};
inline constexpr Field kFuel{"fuel",
                             "",
                             "Fuel:",
                             "",
                             Q::None,
                             R::In,
                             Kind::Choice,
                             false,
                             0,
                             kFuelWords,
                             0,
                             {},
                             "Fuel: kerosene, diesel, propane (heating value and density built "
                             "in) or custom (fuel-lhv and fuel-density as typed)"};
inline constexpr Field kTipSpeed = described(
    number(R::In, "tip-speed", 0, kMaxRpmFrame, "Tip Speed:", "ft./sec.", Q::Velocity, 1450.0f),
    "Compressor wheel tip speed at maximum RPM");
inline constexpr std::array kOperatingInputs{
    kFuel,
    described(
        number(R::In, "fuel-lhv", 0, "", "Fuel Heating Value:", "MJ/kg", Q::HeatingValue, 43.2f),
        "Fuel lower heating value, MJ/kg: a named fuel's own unless typed; typed different "
        "from it, the fuel becomes custom"),
    described(number(R::In, "fuel-density", 0, "", "Fuel Density:", "kg/L", Q::Density, 0.80f),
              "Fuel liquid density, kg/L: a named fuel's own unless typed; typed different from "
              "it, the fuel becomes custom"),
    number(R::In, "combustion-efficiency", 0, "", "Combustion Efficiency:", "%", Q::Percent, 95.0f),
    kTipSpeed,
    described(
        number(R::In, "pressure-loss", 0, kCompressorFrame, "Pressure Loss:", "", Q::None, 0.1f),
        "Pressure loss taken off the compressor pressure ratio ahead of the nozzle"),
    // Not a number: no altitude, and the ambient values stand.
    described(number(R::In, "altitude", 0, "", "Altitude:", "m", Q::Altitude,
                     std::numeric_limits<float>::quiet_NaN()),
              "Airfield altitude, m: ambient temperature and pressure from the standard "
              "atmosphere unless given"),
    number(R::In, "turbine-inlet-temp-limit", 0, "Limits", "Turbine Inlet Temp. Limit:", "deg. C",
           Q::Temperature, 788.0f),
    number(R::In, "turbine-outlet-temp-limit", 0, "Limits", "Turbine Outlet Temp. Limit:", "deg. C",
           Q::Temperature, 720.0f),
    number(R::In, "tip-speed-limit", 0, "Limits", "Tip Speed Limit:", "ft./sec.", Q::Velocity,
           1450.0f),
    // (1 + (gamma - 1) / 2)^(gamma / (gamma - 1)) for the cycle's gas, as a float.
    described(number(R::In, "nozzle-critical-pr", 0, "Limits", "Nozzle Critical PR:", "", Q::None,
                     1.8504754f),
              "Nozzle pressure ratio above which the nozzle chokes"),
};
// The limits a point goes past, named by their inputs' keys (a surge margin below 0 by the map's
// result): every combination of them, the index being the set of them as bits in this order.
inline constexpr std::array<std::string_view, 5> kLimitKeys{
    "turbine-inlet-temp-limit", "turbine-outlet-temp-limit", "tip-speed-limit",
    "nozzle-critical-pr", "surge-margin"};
struct LimitWordTable {
    static constexpr std::size_t kCount = std::size_t{1} << kLimitKeys.size();
    static constexpr std::size_t kTextSize = [] {
        std::size_t all = 0;
        for (const auto key : kLimitKeys)
            all += key.size() + 1;
        return all * kCount / 2;
    }();
    std::array<char, kTextSize> text{};
    std::array<std::string_view, kCount> words{};
    // Built in place, so the words can point into the text beside them.
    constexpr LimitWordTable() {
        std::size_t at = 0;
        for (std::size_t set = 0; set < kCount; ++set) {
            const std::size_t first = at;
            for (std::size_t k = 0; k < kLimitKeys.size(); ++k)
                if (set & (std::size_t{1} << k)) {
                    if (at != first)
                        text[at++] = ' ';
                    for (const char c : kLimitKeys[k])
                        text[at++] = c;
                }
            words[set] = std::string_view(text.data() + first, at - first);
        }
    }
};
inline constexpr LimitWordTable kLimitWordTable{};
inline constexpr auto& kLimitWords = kLimitWordTable.words;
inline constexpr std::array kOperatingResults{
    number(R::Out, "fuel-air-ratio", 0, "", "Fuel-Air Ratio:", "", Q::None),
    number(R::Out, "fuel-flow", 0, "", "Fuel Flow:", "lb/h", Q::FuelFlow),
    number(R::Out, "fuel-volume-flow", 0, "", "Fuel Volume Flow:", "L/h", Q::VolumeFlow),
    described(number(R::Out, "tsfc", 0, "", "TSFC:", "lb/(lbf·h)", Q::FuelConsumption),
              "Thrust-specific fuel consumption"),
    Field{"limits",
          "",
          "Limits Exceeded:",
          "",
          Q::None,
          R::Out,
          Kind::Choice,
          false,
          0,
          kLimitWords,
          0,
          {},
          "The limits the point goes past, by their keys"},
    described(number(R::Out, "mass-flow-used", 0, "", "Mass Flow Used:", "", Q::MassFlow),
              "The air flow the point used: typed, estimated or passed by the turbine"),
};

template <std::size_t... N> constexpr auto joined(const std::array<Field, N>&... parts) {
    std::array<Field, (N + ...)> out{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + at), at += N), ...);
    return out;
}

} // namespace detail

// The inputs and results beyond the window's that vorlaxen-calc cycle and the engine share.
inline constexpr auto& kOperatingInputs = detail::kOperatingInputs;
inline constexpr auto& kOperatingResults = detail::kOperatingResults;
inline constexpr auto& kLimitWords = detail::kLimitWords;
inline constexpr auto& kLimitKeys = detail::kLimitKeys;
inline constexpr auto& kFuelWords = detail::kFuelWords;
inline constexpr auto& kMassFlowSources = detail::kMassFlowSources;

// "Calculate" in "Max Turbo RPM".
inline constexpr std::array kMaxRpmFields{detail::kCompOutletDiameter, detail::kTipSpeed,
                                          detail::kMaxRpm};

// "Calculate" in "Mass Flow Rate". The estimate is also copied into the full analysis input, so
// both are results here.
inline constexpr std::array kMassFlowFields{detail::kInducerDiameter, detail::kHubDiameter,
                                            detail::kMassFlowEstimate,
                                            detail::withRole(detail::kMassFlow, Role::Out)};

namespace detail {
// Builders measure the exhaust, not the turbine inlet: the cycle also takes the turbine outlet
// temperature and then solves the inlet temperature from it.
template <std::size_t N> constexpr auto outletAsInput(std::array<Field, N> fields) {
    for (auto& f : fields)
        if (f.key == kOutletGiven.first)
            f = described(
                withRole(f, Role::InOut),
                "Turbine Outlet Temp., deg. C, measured: the inlet temperature is solved from it");
    return fields;
}
} // namespace detail

// "Calculate" in "Full Analysis", with the turbine inlet temperature as an input, or the turbine
// outlet temperature in its place.
inline constexpr auto kCycleFields = detail::outletAsInput(
    detail::joined(std::array{detail::kMassFlow}, detail::kCycleInputs, detail::kOperatingInputs,
                   detail::kCycleResults, detail::kOperatingResults));

// The converter's boxes have no labels of their own; the frame's caption and unit texts read as
// "Converter: 10 cm = 3.93701 inches".
inline constexpr auto kConvertFields = std::to_array<Field>({
    detail::withRole(detail::described(detail::number(Role::In, "conv-cm", 1032, "",
                                                      "Converter:", "cm   =", Quantity::None),
                                       "Centimetres"),
                     Role::InOut),
    detail::withRole(detail::described(detail::number(Role::In, "conv-inches", 1033, "", "",
                                                      "inches", Quantity::None),
                                       "Inches"),
                     Role::InOut),
});

namespace detail {
inline constexpr std::array<std::string_view, 3> kDrillSeriesWords{"unit", "metric", "inch"};
// A figure of the drilled tube: none where no drill of the series matches the row's area.
constexpr Field wholeHoles(std::string_view key, std::string_view label,
                           std::string_view description) {
    Field f = described(number(Role::Out, key, 0, "", label, "", Quantity::None), description);
    f.mayBeEmpty = true;
    return f;
}
} // namespace detail

// "Calculate Flame Tube". Lengths are in the unit chosen in the window's list, so nothing here is
// converted between systems.
inline constexpr auto kFlameTubeFields = std::to_array<Field>({
    {"units",
     "",
     "Select Units:",
     "",
     Quantity::None,
     Role::In,
     Kind::Units,
     false,
     1018,
     {},
     0,
     {},
     "Unit system: in, mm, cm or none, any case"},
    {"inducer-diameter",
     "Inputs",
     "Inducer Diameter:",
     "",
     Quantity::None,
     Role::In,
     Kind::Number,
     true,
     1001,
     {}},
    detail::described(detail::number(Role::In, "primary-drill", 1014, detail::kDrillsFrame,
                                     "Primary:", "", Quantity::None),
                      "Primary drill hole diameter"),
    detail::described(detail::number(Role::In, "secondary-drill", 1015, detail::kDrillsFrame,
                                     "Secondary:", "", Quantity::None),
                      "Secondary drill hole diameter"),
    detail::described(detail::number(Role::In, "tertiary-drill", 1016, detail::kDrillsFrame,
                                     "Tertiary:", "", Quantity::None),
                      "Tertiary drill hole diameter"),
    detail::number(Role::Out, "inducer-radius", 1002, "", "Inducer Radius:", "", Quantity::None),
    detail::number(Role::Out, "inducer-area", 1004, "", "Inducer Area:", "", Quantity::None),
    detail::number(Role::Out, "tube-length", 1006, "Flame Tube", "Length:", "", Quantity::None),
    detail::number(Role::Out, "tube-diameter", 1007, "Flame Tube", "Diameter:", "", Quantity::None),
    // The holes frame is a grid: a row label ("Primary:") and a column heading ("Hole Area").
    detail::number(Role::Out, "primary-hole-area", 1008, detail::kHolesFrame,
                   "Primary Hole Area:", "", Quantity::None),
    detail::number(Role::Out, "primary-holes", 1011, detail::kHolesFrame,
                   "Primary Number Of Holes:", "", Quantity::None),
    detail::number(Role::Out, "secondary-hole-area", 1009, detail::kHolesFrame,
                   "Secondary Hole Area:", "", Quantity::None),
    detail::number(Role::Out, "secondary-holes", 1012, detail::kHolesFrame,
                   "Secondary Number Of Holes:", "", Quantity::None),
    detail::number(Role::Out, "tertiary-hole-area", 1010, detail::kHolesFrame,
                   "Tertiary Hole Area:", "", Quantity::None),
    detail::number(Role::Out, "tertiary-holes", 1013, detail::kHolesFrame,
                   "Tertiary Number Of Holes:", "", Quantity::None),
    // Beyond the window: whole holes of a drill from a standard series, and where each row goes.
    {"drill-series",
     "",
     "Drill Series:",
     "",
     Quantity::None,
     Role::In,
     Kind::Choice,
     false,
     0,
     detail::kDrillSeriesWords,
     0,
     {},
     "Drills to choose from: unit (inch for in, else metric), metric (1 to 13 mm in 0.1 mm "
     "steps) or inch (1/64 in steps)"},
    // Each row's place along the tube, a share of its length from the inlet end: the middle of
    // the primary zone, the middle of the intermediate zone and the start of the dilution zone,
    // the zones in the proportions 0.75 : 0.5 : 1.5 of Lefebvre and Ballal, Gas Turbine
    // Combustion, 3rd ed., CRC Press 2010, ch. 4, scaled to the tube's length.
    detail::described(detail::number(Role::In, "primary-position", 0, "", "Primary Position:", "",
                                     Quantity::None, float(0.375 / 2.75)),
                      "Primary row's place, a share of the tube's length from the inlet end"),
    detail::described(detail::number(Role::In, "secondary-position", 0, "",
                                     "Secondary Position:", "", Quantity::None, float(1.0 / 2.75)),
                      "Secondary row's place, a share of the tube's length from the inlet end"),
    detail::described(detail::number(Role::In, "tertiary-position", 0, "", "Tertiary Position:", "",
                                     Quantity::None, float(1.25 / 2.75)),
                      "Tertiary row's place, a share of the tube's length from the inlet end"),
    detail::wholeHoles("primary-whole-holes",
                       "Primary Whole Holes:", "Primary holes, a whole number of the chosen drill"),
    detail::wholeHoles("primary-chosen-drill", "Primary Chosen Drill:",
                       "Primary drill chosen from the series, in the unit"),
    detail::wholeHoles("primary-drilled-area", "Primary Drilled Area:",
                       "Primary hole area as drilled, in the unit squared"),
    detail::wholeHoles("secondary-whole-holes", "Secondary Whole Holes:",
                       "Secondary holes, a whole number of the chosen drill"),
    detail::wholeHoles("secondary-chosen-drill", "Secondary Chosen Drill:",
                       "Secondary drill chosen from the series, in the unit"),
    detail::wholeHoles("secondary-drilled-area", "Secondary Drilled Area:",
                       "Secondary hole area as drilled, in the unit squared"),
    detail::wholeHoles("tertiary-whole-holes", "Tertiary Whole Holes:",
                       "Tertiary holes, a whole number of the chosen drill"),
    detail::wholeHoles("tertiary-chosen-drill", "Tertiary Chosen Drill:",
                       "Tertiary drill chosen from the series, in the unit"),
    detail::wholeHoles("tertiary-drilled-area", "Tertiary Drilled Area:",
                       "Tertiary hole area as drilled, in the unit squared"),
});

namespace detail {
// The engine's own inputs and results beyond the Turbo Analysis window's: a row here is an option
// of vorlaxen-calc engine, a column of the Design Explorer and its files, and an input or result
// of turbo::evaluateEngine, whose formula reads and writes it by key.
// The exhaust temperature measured on the engine: given (not a number means not given), the turbine
// inlet temperature is solved from it and replaces the one given.
inline constexpr Field kMeasuredTurbineOutletTemp = described(
    number(R::In, "measured-turbine-outlet-temp", 0, "", "Measured Turbine Outlet Temp.:", "deg. C",
           Q::Temperature, std::numeric_limits<float>::quiet_NaN()),
    "Measured turbine outlet (exhaust) temperature, deg. C: when given, the turbine inlet "
    "temperature is solved from it in place of the one given");
// The turbine's flow capacity, for the "turbine" mass-flow source. Not a number: from the
// candidate's own point, which then keeps its mass flow.
inline constexpr Field kTurbineArea = described(
    number(R::In, "turbine-area", 0, "", "Turbine Area:", "sq. in.", Q::Area,
           std::numeric_limits<float>::quiet_NaN()),
    "Turbine effective flow area, for mass-flow-source turbine: the air flow is what the turbine "
    "passes, A P3 phi(turbine PR) / sqrt(T3) (Saravanamuttoo et al., Gas Turbine Theory); not "
    "given: from the candidate's own point, which keeps its mass flow");
inline constexpr auto kEngineInputs =
    joined(kOperatingInputs, std::array{kMeasuredTurbineOutletTemp, kTurbineArea});
inline constexpr auto kEngineResults = kOperatingResults;
} // namespace detail

// One candidate engine of the Design Explorer (and vorlaxen-calc engine): the wheel, the mass flow
// typed or estimated from the wheel, the cycle's conditions; then max RPM, the mass-flow
// estimate and the twelve cycle results. The mass flow is written back: with the estimate chosen
// it becomes the estimate, the number the cycle used.
inline constexpr auto kEngineFields = detail::joined(
    std::array{detail::kCompOutletDiameter, detail::kInducerDiameter, detail::kHubDiameter,
               detail::kMassFlowSource, detail::withRole(detail::kMassFlow, Role::InOut)},
    detail::kCycleInputs, detail::kEngineInputs,
    std::array{detail::kMaxRpm, detail::kMassFlowEstimate}, detail::kCycleResults,
    detail::kEngineResults);

// Where the cycle's point sits on a compressor map, after the results of cycle and engine when a
// map is given. The corrected flow is in the map's own unit (lb/min or kg/s); the last three
// have no figure where the point is outside what was traced on the map, and none has one for a
// row without a map.
inline constexpr auto kMapMatchingFields = [] {
    using detail::described;
    using detail::number;
    auto rows = std::to_array<Field>({
        described(number(Role::Out, "corrected-flow", 0, "Compressor Map", "Corrected Flow:", "",
                         Quantity::None),
                  "Corrected air flow, in the map's flow unit"),
        described(number(Role::Out, "pressure-ratio", 0, "Compressor Map", "Pressure Ratio:", "",
                         Quantity::None),
                  "Compressor pressure ratio, absolute discharge over ambient pressure"),
        described(number(Role::Out, "surge-margin", 0, "Compressor Map", "Surge Margin:", "%",
                         Quantity::Percent),
                  "Surge margin in %: negative where the compressor surges"),
        described(number(Role::Out, "map-efficiency", 0, "Compressor Map", "Map Efficiency:", "%",
                         Quantity::Percent),
                  "Efficiency of the highest island holding the point, %"),
        described(number(Role::Out, "map-speed", 0, "Compressor Map", "Map Speed:", "rpm",
                         Quantity::Speed),
                  "Speed between the neighbouring speed lines, rpm"),
    });
    for (auto& row : rows)
        row.mayBeEmpty = true; // no map, or a point outside it
    return rows;
}();

inline constexpr auto kCalculations = std::to_array<CalculationFields>({
    {"max-rpm", "Maximum compressor speed from the outlet diameter (Max Turbo RPM)",
     kTurboAnalysisTemplate, kMaxRpmFields},
    {"mass-flow", "Air mass flow from the inducer and hub diameters (Mass Flow Rate)",
     kTurboAnalysisTemplate, kMassFlowFields},
    {"cycle", "One steady-state operating point of the engine (Full Analysis)",
     kTurboAnalysisTemplate, kCycleFields},
    {"flame-tube", "Flame tube size and air holes from the inducer diameter (Combustor)",
     kCombustorTemplate, kFlameTubeFields},
    {"convert", "Centimetres to inches or inches to centimetres, from the larger number",
     kTurboAnalysisTemplate, kConvertFields},
    {"engine", "A candidate engine: max RPM, mass-flow estimate and the full cycle", 0,
     kEngineFields},
});

const CalculationFields* findCalculation(std::string_view name);

// The index of a field by key, or nothing.
constexpr std::optional<std::size_t> findField(std::span<const Field> fields,
                                               std::string_view key) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key == key)
            return i;
    return std::nullopt;
}

// A field of the window made from the given template, for the windows that bind their members to
// its boxes by key. Used at compile time, where an unknown key does not compile.
constexpr const Field& formField(int dialog, std::string_view key) {
    for (const auto& c : kCalculations)
        if (c.dialog == dialog)
            for (const auto& f : c.fields)
                if (f.key == key)
                    return f;
    throw std::invalid_argument("no such field on the form");
}

} // namespace fields
