#include "calculations.hpp"

#include "efficiency_from_map.hpp"
#include "engine.hpp"
#include "engine_cycle.hpp"
#include "flame_tube.hpp"
#include "unit_presets.hpp"
#include "wheel_and_converter.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace cli {

namespace {

using combustor::CombustorFields;
using turbo::TurboFields;

using fields::kOperatingInputs;
using fields::kOperatingResults;

template <std::size_t N>
constexpr std::array<float, N> defaultsOf(const std::array<Field, N>& fields) {
    std::array<float, N> values{};
    for (std::size_t i = 0; i < N; ++i)
        values[i] = fields[i].defaultValue;
    return values;
}

// The window's fields, the turbine inlet temperature it holds fixed, and the inputs and results
// beyond it. Ambient values start as not given, to be filled from the altitude.
struct TurboState {
    TurboState() { f.m_TurbineOutletTemp = std::numeric_limits<float>::quiet_NaN(); }
    TurboFields f = [] {
        TurboFields w;
        w.m_AmbientTemp = w.m_AmbientPressure = turbo::notGiven();
        return w;
    }();
    float turbineInletTemp = turbo::kDefaultTurbineInletTemp; // the window keeps it fixed
    std::optional<turbo::CycleIntermediates> cycle;           // once the cycle has run
    std::array<float, kOperatingInputs.size()> operating = defaultsOf(kOperatingInputs);
    std::array<float, kOperatingResults.size()> operatingResults{};
    turbo::Fuel fuel = turbo::Fuel::Kerosene;
    unsigned limitSet = 0;

    template <std::size_t N> static consteval std::size_t at(const char (&key)[N]) {
        return *fields::findField(kOperatingInputs, key);
    }
    float op(std::size_t i) const { return operating[i]; }
};

float* turboSlot(TurboState& s, std::string_view key) {
    if (key == "turbine-inlet-temp")
        return &s.turbineInletTemp;
    if (const auto i = fields::findField(kOperatingInputs, key))
        return &s.operating[*i];
    if (const auto i = fields::findField(kOperatingResults, key))
        return &s.operatingResults[*i];
    const auto member = turbo::turboMember(key);
    return member ? &(s.f.*member) : nullptr;
}

float* combustorSlot(CombustorFields& f, std::string_view key) {
    const auto member = combustor::combustorMember(key);
    return member ? &(f.*member) : nullptr;
}

// Every number field must have a place; a field added to fields/ without one is caught by the
// first test that makes the calculation.
template <class State, class Slot>
std::vector<float*> bind(std::span<const Field> fields, State& state, Slot slot) {
    std::vector<float*> slots;
    for (const auto& f : fields) {
        float* p = f.kind == Kind::Number ? slot(state, f.key) : nullptr;
        if (f.kind == Kind::Number && !p)
            throw std::logic_error("vorlaxen-calc has no place for " + std::string(f.key));
        slots.push_back(p);
    }
    return slots;
}

void fullAnalysis(TurboState& s);

class TurboCalculation final : public Calculation {
public:
    using Compute = void (*)(TurboState&);
    TurboCalculation(std::span<const Field> fields, Compute compute)
        : fields_(fields), compute_(compute), slotList_(bind(fields, state_, turboSlot)) {
        slots_ = slotList_;
    }
    std::span<const Field> fields() const override { return fields_; }
    void start(int) override { state_ = TurboState{}; }
    void compute() override { compute_(state_); }
    bool runsCycle() const override { return compute_ == fullAnalysis; }
    std::optional<compmap::OperatingPoint> operatingPoint() const override {
        if (!state_.cycle)
            return std::nullopt;
        const auto& f = state_.f;
        return compmap::OperatingPoint{f.m_MassFlow, state_.cycle->compressorPr, f.m_AmbientTemp,
                                       f.m_AmbientPressure};
    }
    void setChoice(std::size_t field, int index) override {
        if (fields_[field].key == "fuel")
            state_.fuel = static_cast<turbo::Fuel>(index);
    }
    int choice(std::size_t field) const override {
        if (fields_[field].key == "fuel")
            return static_cast<int>(state_.fuel);
        if (fields_[field].key == "limits")
            return static_cast<int>(state_.limitSet);
        return 0;
    }

private:
    std::span<const Field> fields_;
    Compute compute_;
    TurboState state_;
    std::vector<float*> slotList_;
};

// A new window, the unit selected and "Enter" pressed. Strings are cleared rather than replaced so
// that their storage is reused from row to row.
class FlameTubeCalculation final : public Calculation {
public:
    FlameTubeCalculation()
        : slotList_(bind(std::span<const Field>(fields::kFlameTubeFields), f_, combustorSlot)) {
        slots_ = slotList_;
        start(-1);
    }
    std::span<const Field> fields() const override { return fields::kFlameTubeFields; }
    void start(int unitIndex) override {
        f_.m_UnitIndex = unitIndex;
        f_.m_InducerDiameter = 0;
        f_.m_PrimaryDrill = f_.m_SecondaryDrill = f_.m_TertiaryDrill = 0;
        f_.m_UnitName.clear();
        f_.m_PrimaryExample.clear();
        f_.m_SecondaryExample.clear();
        f_.m_TertiaryExample.clear();
        combustor::applyUnitPreset(f_);
    }
    void compute() override { combustor::calcFlameTube(f_); }
    int unitIndex() const override { return f_.m_UnitIndex; }
    std::string_view unitName() const override { return f_.m_UnitName; }

private:
    CombustorFields f_;
    std::vector<float*> slotList_;
};

// A candidate engine, through the same function the Design Explorer calls for its rows.
class EngineCalculation final : public Calculation {
public:
    EngineCalculation() {
        using turbo::EngineInput;
        using turbo::EngineResult;
        slotList_.assign(fields::kEngineFields.size(), nullptr);
        for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
            slotList_[turbo::engineFieldIndex(static_cast<EngineInput>(i))] = &inputs_.values[i];
        for (std::size_t r = 0; r < turbo::kEngineResultCount; ++r)
            slotList_[turbo::engineFieldIndex(static_cast<EngineResult>(r))] = &results_.values[r];
        slots_ = slotList_;
    }
    std::span<const Field> fields() const override { return fields::kEngineFields; }
    void start(int) override {
        inputs_ = turbo::EngineInputs{};
        inputs_[turbo::EngineInput::AmbientTemp] = turbo::notGiven();
        inputs_[turbo::EngineInput::AmbientPressure] = turbo::notGiven();
    }
    void compute() override {
        turbo::fillAmbient(inputs_[turbo::input("altitude")],
                           inputs_[turbo::EngineInput::AmbientTemp],
                           inputs_[turbo::EngineInput::AmbientPressure]);
        if (efficiencyMap_)
            computeOnMap();
        else
            results_ = turbo::evaluateEngine(inputs_);
        // As the form writes it back: with the estimate chosen, the mass flow the cycle used.
        inputs_[turbo::EngineInput::MassFlow] = results_.massFlow;
        // Likewise the turbine inlet temperature solved from a measured outlet temperature.
        if (results_.inletSolved)
            inputs_[turbo::EngineInput::TurbineInletTemp] = results_.turbineInletTemp;
    }
    bool takeEfficiencyFrom(const compmap::CompressorMap* map) override {
        efficiencyMap_ = map;
        return true;
    }
    void setChoice(std::size_t field, int index) override {
        if (field == turbo::kMassFlowSourceField)
            inputs_.massFlowSource = static_cast<turbo::MassFlowSource>(index);
        else if (field == turbo::kFuelField)
            inputs_.fuel = static_cast<turbo::Fuel>(index);
    }
    int choice(std::size_t field) const override {
        if (field == turbo::kMassFlowSourceField)
            return static_cast<int>(inputs_.massFlowSource);
        if (field == turbo::kFuelField)
            return static_cast<int>(inputs_.fuel);
        if (field == turbo::engineFieldIndex(turbo::result("limits")))
            return static_cast<int>(results_[turbo::result("limits")]);
        return 0;
    }
    bool runsCycle() const override { return true; }
    std::optional<compmap::OperatingPoint> operatingPoint() const override {
        return compmap::OperatingPoint{results_.massFlow, results_.cycle.compressorPr,
                                       inputs_[turbo::EngineInput::AmbientTemp],
                                       inputs_[turbo::EngineInput::AmbientPressure]};
    }

private:
    // The cycle with the map's efficiency, written back into the efficiency as the mass flow is.
    // Outside every island the cycle has no figures: only the wheel's speed and estimate, which
    // do not depend on the efficiency, remain.
    void computeOnMap() {
        using turbo::EngineResult;
        auto onMap = compmap::evaluateWithMapEfficiency(inputs_, *efficiencyMap_);
        if (onMap.results) {
            results_ = *onMap.results;
            inputs_[turbo::EngineInput::CompEfficiency] = onMap.efficiency;
            return;
        }
        results_ = turbo::evaluateEngine(inputs_);
        const float none = std::numeric_limits<float>::quiet_NaN();
        for (std::size_t r = 0; r < turbo::kEngineResultCount; ++r) {
            const auto which = static_cast<EngineResult>(r);
            if (which != EngineResult::MaxRpm && which != EngineResult::MassFlowEstimate)
                results_[which] = none;
        }
        results_[turbo::result("limits")] = 0;
        inputs_[turbo::EngineInput::CompEfficiency] = none;
    }

    turbo::EngineInputs inputs_;
    turbo::EngineResults results_;
    std::vector<float*> slotList_;
    const compmap::CompressorMap* efficiencyMap_ = nullptr;
};

// The cycle as the engine works it out: ambient from the altitude where not given, a turbine
// outlet temperature given (not NaN) in place of the inlet temperature, which is solved from it
// and shown, the typed pressure loss, then fuel and limits. The intermediates it returns are not
// fields of the form.
void fullAnalysis(TurboState& s) {
    using S = TurboState;
    turbo::fillAmbient(s.op(S::at("altitude")), s.f.m_AmbientTemp, s.f.m_AmbientPressure);
    if (!std::isnan(s.f.m_TurbineOutletTemp))
        s.turbineInletTemp = turbo::solveTurbineInletTemp(s.f, s.f.m_TurbineOutletTemp);
    s.cycle = turbo::calcFullAnalysis(s.f, s.turbineInletTemp,
                                      turbo::typedDecimal(s.op(S::at("pressure-loss"))));
    const auto point = turbo::pointFigures(
        s.f, s.turbineInletTemp, s.op(S::at("tip-speed")),
        turbo::fuelInputs(s.fuel, s.op(S::at("fuel-lhv")), s.op(S::at("fuel-density")),
                          s.op(S::at("combustion-efficiency"))),
        turbo::limitsOf(s.op(S::at("turbine-inlet-temp-limit")),
                        s.op(S::at("turbine-outlet-temp-limit")), s.op(S::at("tip-speed-limit")),
                        s.op(S::at("nozzle-critical-pr"))));
    // The fuel results in the order of turbo::FuelResult, as the rows list them.
    for (std::size_t i = 0; i < turbo::kFuelResultCount; ++i)
        s.operatingResults[i] = point.fuel.values[i];
    s.limitSet = point.limitSet;
    s.operatingResults[*fields::findField(kOperatingResults, "mass-flow-used")] = s.f.m_MassFlow;
}

void maxRpm(TurboState& s) {
    turbo::calcMaxRpm(s.f, s.op(TurboState::at("tip-speed")));
}

template <void (*Calc)(TurboFields&)> void onForm(TurboState& s) {
    Calc(s.f);
}

template <const auto& Fields, void (*Compute)(TurboState&)>
std::unique_ptr<Calculation> makeTurbo() {
    return std::make_unique<TurboCalculation>(Fields, Compute);
}

std::string_view summaryOf(std::string_view name) {
    return fields::findCalculation(name)->summary;
}

const std::array<CalculationInfo, 6> kCalculations{{
    {"max-rpm", summaryOf("max-rpm"), makeTurbo<fields::kMaxRpmFields, maxRpm>},
    {"mass-flow", summaryOf("mass-flow"),
     makeTurbo<fields::kMassFlowFields, onForm<turbo::calcMassFlow>>},
    {"cycle", summaryOf("cycle"), makeTurbo<fields::kCycleFields, fullAnalysis>},
    {"flame-tube", summaryOf("flame-tube"),
     []() -> std::unique_ptr<Calculation> { return std::make_unique<FlameTubeCalculation>(); }},
    {"convert", summaryOf("convert"),
     makeTurbo<fields::kConvertFields, onForm<turbo::convertLength>>},
    {"engine", summaryOf("engine"),
     []() -> std::unique_ptr<Calculation> { return std::make_unique<EngineCalculation>(); }},
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

namespace {
constexpr std::array<std::string_view, 3> kUnitKeys{"in", "mm", "cm"};

bool sameIgnoringCase(std::string_view typed, std::string_view word) {
    if (typed.size() != word.size())
        return false;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c =
            typed[i] >= 'A' && typed[i] <= 'Z' ? static_cast<char>(typed[i] - 'A' + 'a') : typed[i];
        if (c != word[i])
            return false;
    }
    return true;
}
} // namespace

std::optional<int> unitFromKey(std::string_view key) {
    if (sameIgnoringCase(key, "none"))
        return -1;
    for (std::size_t i = 0; i < kUnitKeys.size(); ++i)
        if (sameIgnoringCase(key, kUnitKeys[i]))
            return static_cast<int>(i);
    return std::nullopt;
}

std::string_view unitKey(int unitIndex) {
    if (unitIndex < 0 || unitIndex >= static_cast<int>(kUnitKeys.size()))
        return "none";
    return kUnitKeys[static_cast<std::size_t>(unitIndex)];
}

std::optional<int> choiceFromText(const Field& field, std::string_view text) {
    for (std::size_t i = 0; i < field.choices.size(); ++i)
        if (sameIgnoringCase(text, field.choices[i]))
            return static_cast<int>(i);
    return std::nullopt;
}

} // namespace cli
