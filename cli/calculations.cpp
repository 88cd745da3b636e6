#include "calculations.hpp"

#include "engine.hpp"
#include "engine_cycle.hpp"
#include "evaluate_point.hpp"
#include "flame_tube.hpp"
#include "number_text.hpp"
#include "tube.hpp"
#include "unit_presets.hpp"
#include "wheel_and_converter.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace cli {

namespace {

using combustor::CombustorFields;
using turbo::TurboFields;

// The window's fields and the tip speed it assumes, for the calculations of single frames.
struct TurboState {
    TurboFields f;
    float tipSpeed =
        fields::kMaxRpmFields[*fields::findField(fields::kMaxRpmFields, "tip-speed")].defaultValue;
};

float* turboSlot(TurboState& s, std::string_view key) {
    if (key == "tip-speed")
        return &s.tipSpeed;
    const auto member = turbo::turboMember(key);
    return member ? &(s.f.*member) : nullptr;
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

// A new window, the unit selected and "Enter" pressed; then the rows drilled with whole holes.
// Strings are cleared rather than replaced so that their storage is reused from row to row.
class FlameTubeCalculation final : public Calculation {
public:
    FlameTubeCalculation() {
        const auto fields = std::span<const Field>(fields::kFlameTubeFields);
        for (const auto& f : fields)
            if (f.kind == Kind::Number && !combustor::combustorMember(f.key))
                extra_[f.key] = 0;
        slotList_ = bind(fields, *this, [](FlameTubeCalculation& c, std::string_view key) {
            if (const auto member = combustor::combustorMember(key))
                return &(c.f_.*member);
            return &c.extra_.at(key);
        });
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
        for (const auto& f : fields::kFlameTubeFields)
            if (const auto found = extra_.find(f.key); found != extra_.end())
                found->second = f.defaultValue;
        seriesChoice_ = 0;
    }
    void compute() override {
        combustor::calcFlameTube(f_);
        const auto series = seriesChoice_ == 0   ? flametube::seriesForUnits(f_.m_UnitIndex)
                            : seriesChoice_ == 1 ? flametube::DrillSeries::Metric
                                                 : flametube::DrillSeries::Inch;
        std::array<double, 3> positions{};
        for (std::size_t r = 0; r < 3; ++r)
            positions[r] = extra_.at(flametube::kPositionKeys[r]);
        plan_ = flametube::planFromWindow(f_, series, positions);
        const float none = std::numeric_limits<float>::quiet_NaN();
        for (std::size_t r = 0; r < 3; ++r) {
            const auto& choice = plan_.rows[r].choice;
            extra_.at(flametube::kWholeHolesKeys[r]) = choice ? float(choice->holes) : none;
            extra_.at(flametube::kChosenDrillKeys[r]) = choice ? float(choice->drill) : none;
            extra_.at(flametube::kDrilledAreaKeys[r]) = choice ? float(choice->drilledArea) : none;
        }
    }
    int unitIndex() const override { return f_.m_UnitIndex; }
    std::string_view unitName() const override { return f_.m_UnitName; }
    void setChoice(std::size_t, int index) override { seriesChoice_ = index; }
    int choice(std::size_t) const override { return seriesChoice_; }
    const flametube::TubePlan* tubePlan() const override { return &plan_; }

private:
    CombustorFields f_;
    std::map<std::string_view, float> extra_; // the fields beyond the window's
    int seriesChoice_ = 0;
    flametube::TubePlan plan_;
    std::vector<float*> slotList_;
};

// One operating point, through the function every view calls: cycle and engine differ only in
// their fields. Each number field is kept where the evaluation reads or writes it, found by key;
// the cycle's turbine outlet temperature is both, a measured one in and the result out.
class PointCalculation final : public Calculation {
public:
    explicit PointCalculation(std::span<const Field> fields) : fields_(fields) {
        slotList_.assign(fields.size(), nullptr);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const auto& f = fields[i];
            if (f.kind != Kind::Number)
                continue;
            if (f.key == fields::kOutletGiven.first && f.role == Role::InOut)
                slotList_[i] = &measuredOutlet_.emplace();
            else if (const auto in = engineIndex(f.key, turbo::isEngineInput))
                slotList_[i] = &in_.engine.values[*in];
            else if (const auto out = engineIndex(f.key, turbo::isEngineResult))
                slotList_[i] = &point_.results.values[*out];
            else
                throw std::logic_error("vorlaxen-calc has no place for " + std::string(f.key));
        }
        slots_ = slotList_;
        start(-1);
    }
    std::span<const Field> fields() const override { return fields_; }
    void start(int) override {
        in_.engine = point::defaultInputs();
        if (measuredOutlet_)
            *measuredOutlet_ = std::numeric_limits<float>::quiet_NaN();
    }
    void compute() override {
        if (measuredOutlet_)
            in_.engine[turbo::EngineInput::MeasuredTurbineOutletTemp] = *measuredOutlet_;
        point_ = point::evaluatePoint(in_);
        // As the form writes its boxes back: every input as the point used it.
        in_.engine = point_.used;
        if (measuredOutlet_)
            *measuredOutlet_ = point_[turbo::EngineResult::TurbineOutletTemp];
    }
    void useMap(const compmap::CompressorMap* map) override {
        in_.map = map;
        if (!map)
            in_.efficiencyFromMap = false;
    }
    // Only a candidate engine, whose efficiency is an input of its own, takes it from the map.
    bool takeEfficiencyFrom(const compmap::CompressorMap* map) override {
        if (fields_.data() != fields::kEngineFields.data())
            return false;
        in_.efficiencyFromMap = map != nullptr;
        if (map)
            in_.map = map;
        return true;
    }
    void setChoice(std::size_t field, int index) override {
        if (fields_[field].key == "mass-flow-source")
            in_.engine.massFlowSource = static_cast<turbo::MassFlowSource>(index);
        else if (fields_[field].key == "fuel")
            in_.engine.fuel = static_cast<turbo::Fuel>(index);
    }
    int choice(std::size_t field) const override {
        if (fields_[field].key == "mass-flow-source")
            return static_cast<int>(in_.engine.massFlowSource);
        if (fields_[field].key == "fuel")
            return static_cast<int>(in_.engine.fuel);
        if (fields_[field].key == "limits")
            return static_cast<int>(point_.limitSet);
        return 0;
    }
    bool runsCycle() const override { return true; }
    // [range check] The inputs as the point would take them, a measured outlet temperature
    // included.
    std::optional<turbo::RangeProblem> rangeProblem() const override {
        // A turbine area sets the air flow only when the turbine is its source; taken and then
        // ignored, it would look as if it had.
        if (!std::isnan(in_.engine[turbo::input("turbine-area")]) &&
            in_.engine.massFlowSource != turbo::MassFlowSource::Turbine)
            return turbo::RangeProblem{"turbine-area",
                                       "is used only with --mass-flow-source turbine"};
        auto in = in_.engine;
        if (measuredOutlet_)
            in[turbo::EngineInput::MeasuredTurbineOutletTemp] = *measuredOutlet_;
        return turbo::inputRangeProblem(in, in_.efficiencyFromMap);
    }
    const point::Point* evaluated() const override { return &point_; }

private:
    static std::optional<std::size_t> engineIndex(std::string_view key,
                                                  bool (*test)(const Field&)) {
        std::size_t n = 0;
        for (const auto& f : fields::kEngineFields) {
            if (f.key == key && test(f))
                return n;
            n += test(f) ? 1 : 0;
        }
        return std::nullopt;
    }

    std::span<const Field> fields_;
    point::PointInputs in_;
    point::Point point_;
    std::optional<float> measuredOutlet_; // the cycle's turbine outlet temperature
    std::vector<float*> slotList_;
};

void maxRpm(TurboState& s) {
    turbo::calcMaxRpm(s.f, s.tipSpeed);
}

template <void (*Calc)(TurboFields&)> void onForm(TurboState& s) {
    Calc(s.f);
}

template <const auto& Fields, void (*Compute)(TurboState&)>
std::unique_ptr<Calculation> makeTurbo() {
    return std::make_unique<TurboCalculation>(Fields, Compute);
}

template <const auto& Fields> std::unique_ptr<Calculation> makePoint() {
    return std::make_unique<PointCalculation>(Fields);
}

std::string_view summaryOf(std::string_view name) {
    return fields::findCalculation(name)->summary;
}

const std::array<CalculationInfo, 6> kCalculations{{
    {"max-rpm", summaryOf("max-rpm"), makeTurbo<fields::kMaxRpmFields, maxRpm>},
    {"mass-flow", summaryOf("mass-flow"),
     makeTurbo<fields::kMassFlowFields, onForm<turbo::calcMassFlow>>},
    {"cycle", summaryOf("cycle"), makePoint<fields::kCycleFields>},
    {"flame-tube", summaryOf("flame-tube"),
     []() -> std::unique_ptr<Calculation> { return std::make_unique<FlameTubeCalculation>(); }},
    {"convert", summaryOf("convert"),
     makeTurbo<fields::kConvertFields, onForm<turbo::convertLength>>},
    {"engine", summaryOf("engine"), makePoint<fields::kEngineFields>},
}};

} // namespace

std::optional<std::string> computeInRange(Calculation& calc) {
    const auto problem = calc.rangeProblem();
    if (!problem) {
        calc.compute();
        return std::nullopt;
    }
    const auto fields = calc.fields();
    const auto at = findField(fields, problem->key);
    std::string text(problem->key);
    if (at && calc.slot(*at))
        text += " " + fields::formatFloat(calc.get(*at));
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].role == Role::Out && calc.slot(i))
            calc.set(i, fields[i].kind == Kind::Number ? std::numeric_limits<float>::quiet_NaN()
                                                       : 0.0f); // a word's index: the first
    return text + " " + problem->reason;
}

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
