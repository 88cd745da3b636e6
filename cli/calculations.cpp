#include "calculations.hpp"

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

// The window's fields and the turbine inlet temperature it holds fixed.
struct TurboState {
    TurboState() { f.m_TurbineOutletTemp = std::numeric_limits<float>::quiet_NaN(); }
    TurboFields f;
    float turbineInletTemp = turbo::kDefaultTurbineInletTemp; // the window keeps it fixed
};

float* turboSlot(TurboState& s, std::string_view key) {
    if (key == "turbine-inlet-temp")
        return &s.turbineInletTemp;
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
    void start(int) override { inputs_ = turbo::EngineInputs{}; }
    void compute() override {
        results_ = turbo::evaluateEngine(inputs_);
        // As the form writes it back: with the estimate chosen, the mass flow the cycle used.
        inputs_[turbo::EngineInput::MassFlow] = results_.massFlow;
    }
    void setChoice(std::size_t field, int index) override {
        if (field == turbo::kMassFlowSourceField)
            inputs_.massFlowSource = static_cast<turbo::MassFlowSource>(index);
    }
    int choice(std::size_t field) const override {
        return field == turbo::kMassFlowSourceField ? static_cast<int>(inputs_.massFlowSource) : 0;
    }

private:
    turbo::EngineInputs inputs_;
    turbo::EngineResults results_;
    std::vector<float*> slotList_;
};

// The intermediates it returns are not fields of the form. A turbine outlet temperature given
// (not NaN) replaces the inlet temperature, which is solved from it and shown.
void fullAnalysis(TurboState& s) {
    if (!std::isnan(s.f.m_TurbineOutletTemp))
        s.turbineInletTemp = turbo::solveTurbineInletTemp(s.f, s.f.m_TurbineOutletTemp);
    turbo::calcFullAnalysis(s.f, s.turbineInletTemp);
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
    {"max-rpm", summaryOf("max-rpm"), makeTurbo<fields::kMaxRpmFields, onForm<turbo::calcMaxRpm>>},
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
