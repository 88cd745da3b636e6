#pragma once
// The calculations of vorlaxen-calc, working on the fields that fields/ describes for each of them
// (key, label, unit, role), so that options, CSV columns, JSON keys and the table all come from
// the same list that the Design Explorer uses.

#include "calculation_fields.hpp"
#include "compressor_map.hpp"
#include "input_range.hpp"

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace point {
struct Point;
}
namespace flametube {
struct TubePlan;
}

namespace cli {

using fields::Field;
using fields::findField;
using fields::isInput;
using fields::Kind;
using fields::Role;

// The working state of one calculation. A batch reuses one object for every row, so nothing is
// allocated per row.
class Calculation {
public:
    virtual ~Calculation() = default;
    virtual std::span<const Field> fields() const = 0;
    // Back to a new window's values; for the flame tube, the unit chosen and its presets entered.
    virtual void start(int unitIndex) = 0;
    // Number fields only, by index in fields(). Straight to the field: a batch does this for
    // every value of every row.
    void set(std::size_t field, float value) { *slots_[field] = value; }
    float get(std::size_t field) const { return *slots_[field]; }
    // Where a number field is kept, for loops that touch it on every row.
    float* slot(std::size_t field) const { return slots_[field]; }
    virtual void compute() = 0;
    // The unit list's selection and the name shown beside it (-1 and "" where there is none).
    virtual int unitIndex() const { return -1; }
    virtual std::string_view unitName() const { return {}; }
    // Choice fields: the index of the word in Field::choices.
    virtual void setChoice(std::size_t, int) {}
    virtual int choice(std::size_t) const { return 0; }
    // [range check] Why the inputs as set are no operating point (outside their physical range),
    // for the calculations that run the cycle; asked before compute().
    virtual std::optional<turbo::RangeProblem> rangeProblem() const { return std::nullopt; }
    // Whether it runs the engine's cycle, so that its points can be put on a compressor map.
    virtual bool runsCycle() const { return false; }
    // The map the next compute() puts the point on (nullptr for none).
    virtual void useMap(const compmap::CompressorMap*) {}
    // The map whose efficiency the next compute() takes instead of the typed one; nullptr for
    // the typed one. Only a candidate engine can; false where the calculation cannot.
    virtual bool takeEfficiencyFrom(const compmap::CompressorMap*) { return false; }
    // The point worked out by the last compute(), for the calculations that run the cycle.
    virtual const point::Point* evaluated() const { return nullptr; }
    // The tube drilled with whole holes, after compute(), for the flame tube only.
    virtual const flametube::TubePlan* tubePlan() const { return nullptr; }

protected:
    Calculation() = default;
    Calculation(const Calculation&) = delete;
    Calculation& operator=(const Calculation&) = delete;
    std::span<float* const> slots_; // where each field is stored; null for words
};

struct CalculationInfo {
    std::string_view name;
    std::string_view summary;
    std::unique_ptr<Calculation> (*make)();
};

std::span<const CalculationInfo> calculations();

// [range check] compute(), unless the inputs are outside their physical range: then every result
// is NaN and the reason comes back, naming the input and its value ("ambient-temp -300 is at or
// below absolute zero (-273.15 deg. C)").
std::optional<std::string> computeInRange(Calculation& calc);
const CalculationInfo* findCalculation(std::string_view name);

// --units and the units column: "in", "mm", "cm" and "none" (in any case) for the list's indexes
// 0, 1, 2, -1.
std::optional<int> unitFromKey(std::string_view key);
std::string_view unitKey(int unitIndex);

// A Choice field's word, in any case, as its index; nothing when it is none of them.
std::optional<int> choiceFromText(const Field& field, std::string_view text);

} // namespace cli
