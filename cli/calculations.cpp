#include "calculations.hpp"

#include "engine_cycle.hpp"
#include "flame_tube.hpp"
#include "unit_presets.hpp"
#include "wheel_and_converter.hpp"

#include <array>
#include <type_traits>

namespace cli {

namespace {

using combustor::CombustorFields;
using turbo::TurboFields;

template <class Fields> struct Entry {
    FieldInfo info;
    float Fields::*member; // null for the unit list
};

// Frames of the Turbo Analysis form.
constexpr std::string_view kMaxRpmFrame = "Max Turbo RPM";
constexpr std::string_view kMassFlowFrame = "Mass Flow Rate";
constexpr std::string_view kCompressorFrame = "Full Analysis - Compressor and Turbine";
constexpr std::string_view kNozzleFrame = "Full Analysis - Nozzle";

constexpr std::array<Entry<TurboFields>, 2> kMaxRpm{{
    {{"comp-outlet-diameter", kMaxRpmFrame, "Compressor Outlet Diameter(inches):", "", Role::In},
     &TurboFields::m_CompOutletDiameter},
    {{"max-rpm", kMaxRpmFrame, "Max RPM:", "", Role::Out}, &TurboFields::m_MaxRpm},
}};

// The estimate is also copied into the full analysis input, so both are results here.
constexpr std::array<Entry<TurboFields>, 4> kMassFlow{{
    {{"inducer-diameter", kMassFlowFrame, "Inducer Diameter:", "", Role::In},
     &TurboFields::m_InducerDiameter},
    {{"hub-diameter", kMassFlowFrame, "Hub Diameter:", "", Role::In}, &TurboFields::m_HubDiameter},
    {{"mass-flow-estimate", kMassFlowFrame, "Mass Flow Rate:", "", Role::Out},
     &TurboFields::m_MassFlowEstimate},
    {{"mass-flow", kCompressorFrame, "Mass Flow Rate:", "", Role::Out}, &TurboFields::m_MassFlow},
}};

// Inputs and results in the order the form shows them, top to bottom.
constexpr std::array<Entry<TurboFields>, 19> kCycle{{
    {{"mass-flow", kCompressorFrame, "Mass Flow Rate:", "", Role::In}, &TurboFields::m_MassFlow},
    {{"p2", kCompressorFrame, "P2 (psig):", "", Role::In}, &TurboFields::m_P2},
    {{"comp-efficiency", kCompressorFrame, "Comp. Efficiency:", "%", Role::In},
     &TurboFields::m_CompEfficiency},
    {{"turbine-efficiency", kCompressorFrame, "Turbine Efficiency:", "%", Role::In},
     &TurboFields::m_TurbineEfficiency},
    {{"nozzle-efficiency", kCompressorFrame, "Nozzle Efficiency:", "%", Role::In},
     &TurboFields::m_NozzleEfficiency},
    {{"ambient-temp", kCompressorFrame, "Ambient Temp.:", "deg. C", Role::In},
     &TurboFields::m_AmbientTemp},
    {{"ambient-pressure", kCompressorFrame, "Ambient Pressure:", "", Role::In},
     &TurboFields::m_AmbientPressure},
    {{"comp-temp-rise", kCompressorFrame, "Compressor Temperature Rise:", "deg. C", Role::Out},
     &TurboFields::m_CompTempRise},
    {{"comp-discharge-temp", kCompressorFrame, "Compressor Discharge Temperature:", "deg. C",
      Role::Out},
     &TurboFields::m_CompDischargeTemp},
    {{"turbine-temp-drop", kCompressorFrame, "Turbine Temp. Drop:", "", Role::Out},
     &TurboFields::m_TurbineTempDrop},
    {{"turbine-outlet-temp", kCompressorFrame, "Turbine Outlet Temp.:", "deg. C", Role::Out},
     &TurboFields::m_TurbineOutletTemp},
    {{"turbine-pr-required", kCompressorFrame, "Turbine PR Required:", "", Role::Out},
     &TurboFields::m_TurbinePrRequired},
    {{"nozzle-pr", kNozzleFrame, "Nozzle PR:", "", Role::Out}, &TurboFields::m_NozzlePr},
    {{"nozzle-exit-temp", kNozzleFrame, "Nozzle Exit Temp:", "deg. C", Role::Out},
     &TurboFields::m_NozzleExitTemp},
    {{"nozzle-velocity", kNozzleFrame, "Nozzle Velocity:", "ft./sec.", Role::Out},
     &TurboFields::m_NozzleVelocity},
    {{"nozzle-outlet-density", kNozzleFrame, "Jet Nozzle Outlet Density:", "cu ft/lb.", Role::Out},
     &TurboFields::m_NozzleOutletDensity},
    {{"nozzle-area", kNozzleFrame, "Jet Nozzle Area:", "sq. in.", Role::Out},
     &TurboFields::m_NozzleArea},
    {{"nozzle-diameter", kNozzleFrame, "Jet Nozzle Diameter:", "in.", Role::Out},
     &TurboFields::m_NozzleDiameter},
    {{"thrust", kNozzleFrame, "Thrust:", "lbs.", Role::Out}, &TurboFields::m_Thrust},
}};

// The converter's boxes have no labels of their own; the frame's caption and unit texts read as
// "Converter: 10 cm = 3.93701 inches".
constexpr std::array<Entry<TurboFields>, 2> kConvert{{
    {{"conv-cm", "", "Converter:", "cm   =", Role::InOut}, &TurboFields::m_ConvCm},
    {{"conv-inches", "", "", "inches", Role::InOut}, &TurboFields::m_ConvInches},
}};

constexpr std::string_view kHolesFrame = "Flame Tube Holes";

constexpr std::array<Entry<CombustorFields>, 15> kFlameTube{{
    {{"units", "", "Select Units:", "", Role::In, Kind::Units}, nullptr},
    {{"inducer-diameter", "Inputs", "Inducer Diameter:", "", Role::In, Kind::Number, true},
     &CombustorFields::m_InducerDiameter},
    {{"primary-drill", "Drill Hole Diameters", "Primary:", "", Role::In},
     &CombustorFields::m_PrimaryDrill},
    {{"secondary-drill", "Drill Hole Diameters", "Secondary:", "", Role::In},
     &CombustorFields::m_SecondaryDrill},
    {{"tertiary-drill", "Drill Hole Diameters", "Tertiary:", "", Role::In},
     &CombustorFields::m_TertiaryDrill},
    {{"inducer-radius", "", "Inducer Radius:", "", Role::Out}, &CombustorFields::m_InducerRadius},
    {{"inducer-area", "", "Inducer Area:", "", Role::Out}, &CombustorFields::m_InducerArea},
    {{"tube-length", "Flame Tube", "Length:", "", Role::Out}, &CombustorFields::m_TubeLength},
    {{"tube-diameter", "Flame Tube", "Diameter:", "", Role::Out}, &CombustorFields::m_TubeDiameter},
    {{"primary-hole-area", kHolesFrame, "Primary Hole Area:", "", Role::Out},
     &CombustorFields::m_PrimaryHoleArea},
    {{"primary-holes", kHolesFrame, "Primary Number Of Holes:", "", Role::Out},
     &CombustorFields::m_PrimaryHoles},
    {{"secondary-hole-area", kHolesFrame, "Secondary Hole Area:", "", Role::Out},
     &CombustorFields::m_SecondaryHoleArea},
    {{"secondary-holes", kHolesFrame, "Secondary Number Of Holes:", "", Role::Out},
     &CombustorFields::m_SecondaryHoles},
    {{"tertiary-hole-area", kHolesFrame, "Tertiary Hole Area:", "", Role::Out},
     &CombustorFields::m_TertiaryHoleArea},
    {{"tertiary-holes", kHolesFrame, "Tertiary Number Of Holes:", "", Role::Out},
     &CombustorFields::m_TertiaryHoles},
}};

void startTurbo(TurboFields& f, int) {
    f = TurboFields{};
}

// A new window, the unit selected and "Enter" pressed. Strings are cleared rather than replaced so
// that their storage is reused from row to row.
void startCombustor(CombustorFields& f, int unitIndex) {
    f.m_UnitIndex = unitIndex;
    f.m_InducerDiameter = 0;
    f.m_PrimaryDrill = f.m_SecondaryDrill = f.m_TertiaryDrill = 0;
    f.m_UnitName.clear();
    f.m_PrimaryExample.clear();
    f.m_SecondaryExample.clear();
    f.m_TertiaryExample.clear();
    combustor::applyUnitPreset(f);
}

template <class Fields, std::size_t N> class TableCalculation final : public Calculation {
public:
    using Start = void (*)(Fields&, int);
    using Compute = void (*)(Fields&);

    TableCalculation(const std::array<Entry<Fields>, N>& table, Start start, Compute compute)
        : start_(start), compute_(compute) {
        for (std::size_t i = 0; i < N; ++i) {
            info_[i] = table[i].info;
            slots_[i] = table[i].member ? &(fields_.*(table[i].member)) : nullptr;
        }
        Calculation::slots_ = slots_;
        start_(fields_, -1);
    }

    std::span<const FieldInfo> fields() const override { return info_; }
    void start(int unitIndex) override { start_(fields_, unitIndex); }
    void compute() override { compute_(fields_); }

    int unitIndex() const override {
        if constexpr (std::is_same_v<Fields, CombustorFields>)
            return fields_.m_UnitIndex;
        else
            return -1;
    }
    std::string_view unitName() const override {
        if constexpr (std::is_same_v<Fields, CombustorFields>)
            return fields_.m_UnitName;
        else
            return {};
    }

private:
    std::array<FieldInfo, N> info_{};
    std::array<float*, N> slots_{};
    Start start_;
    Compute compute_;
    Fields fields_{};
};

// The intermediates it returns are not fields of the form.
void fullAnalysis(TurboFields& f) {
    turbo::calcFullAnalysis(f);
}

template <class Fields, std::size_t N>
std::unique_ptr<Calculation> make(const std::array<Entry<Fields>, N>& table,
                                  void (*start)(Fields&, int), void (*compute)(Fields&)) {
    return std::make_unique<TableCalculation<Fields, N>>(table, start, compute);
}

constexpr std::array<CalculationInfo, 5> kCalculations{{
    {"max-rpm", "Maximum compressor speed from the outlet diameter (Max Turbo RPM)",
     [] { return make(kMaxRpm, startTurbo, turbo::calcMaxRpm); }},
    {"mass-flow", "Air mass flow from the inducer and hub diameters (Mass Flow Rate)",
     [] { return make(kMassFlow, startTurbo, turbo::calcMassFlow); }},
    {"cycle", "One steady-state operating point of the engine (Full Analysis)",
     [] { return make(kCycle, startTurbo, fullAnalysis); }},
    {"flame-tube", "Flame tube size and air holes from the inducer diameter (Combustor)",
     [] { return make(kFlameTube, startCombustor, combustor::calcFlameTube); }},
    {"convert", "Centimetres to inches or inches to centimetres, from the larger number",
     [] { return make(kConvert, startTurbo, turbo::convertLength); }},
}};

} // namespace

std::span<const CalculationInfo> calculations() {
    return kCalculations;
}

const CalculationInfo* findCalculation(std::string_view name) {
    for (const auto& c : kCalculations)
        if (c.name == name)
            return &c;
    return nullptr;
}

std::optional<std::size_t> findField(std::span<const FieldInfo> fields, std::string_view key) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key == key)
            return i;
    return std::nullopt;
}

namespace {
constexpr std::array<std::string_view, 3> kUnitKeys{"in", "mm", "cm"};
}

std::optional<int> unitFromKey(std::string_view key) {
    auto same = [key](std::string_view name) {
        if (key.size() != name.size())
            return false;
        for (std::size_t i = 0; i < key.size(); ++i) {
            const char c =
                key[i] >= 'A' && key[i] <= 'Z' ? static_cast<char>(key[i] - 'A' + 'a') : key[i];
            if (c != name[i])
                return false;
        }
        return true;
    };
    if (same("none"))
        return -1;
    for (std::size_t i = 0; i < kUnitKeys.size(); ++i)
        if (same(kUnitKeys[i]))
            return static_cast<int>(i);
    return std::nullopt;
}

std::string_view unitKey(int unitIndex) {
    if (unitIndex < 0 || unitIndex >= static_cast<int>(kUnitKeys.size()))
        return "none";
    return kUnitKeys[static_cast<std::size_t>(unitIndex)];
}

} // namespace cli
