#pragma once
// The five calculations of vorlaxen-calc and the fields each one reads and writes, described once
// so that options, CSV columns, JSON keys and the table all come from the same list.

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace cli {

enum class Role {
    In,    // read by the calculation: an option and an input column
    Out,   // written by it: a result
    InOut, // both (the converter writes back into one of its two boxes)
};

enum class Kind {
    Number, // a float field of the form
    Units,  // the combustor's unit list: in, mm, cm or none
};

struct FieldInfo {
    std::string_view key;   // the member's name without "m_", in kebab-case
    std::string_view frame; // the frame of the form holding the box ("" when untitled)
    std::string_view label; // the label on the form
    std::string_view unit;  // the unit text beside the box
    Role role = Role::In;
    Kind kind = Kind::Number;
    bool required = false; // an input that has no useful default
};

inline bool isInput(const FieldInfo& f) {
    return f.role != Role::Out;
}

// The working state of one calculation. A batch reuses one object for every row, so nothing is
// allocated per row.
class Calculation {
public:
    virtual ~Calculation() = default;
    virtual std::span<const FieldInfo> fields() const = 0;
    // Back to a new window's values; for the flame tube, the unit chosen and its presets entered.
    virtual void start(int unitIndex) = 0;
    // Number fields only, by index in fields(). Straight to the field: a batch does this for
    // every value of every row.
    void set(std::size_t field, float value) { *slots_[field] = value; }
    float get(std::size_t field) const { return *slots_[field]; }
    virtual void compute() = 0;
    // The unit list's selection and the name shown beside it (-1 and "" where there is none).
    virtual int unitIndex() const { return -1; }
    virtual std::string_view unitName() const { return {}; }

protected:
    Calculation() = default;
    Calculation(const Calculation&) = delete;
    Calculation& operator=(const Calculation&) = delete;
    std::span<float* const> slots_; // where each field is stored; null for the unit list
};

struct CalculationInfo {
    std::string_view name;
    std::string_view summary;
    std::unique_ptr<Calculation> (*make)();
};

std::span<const CalculationInfo> calculations();
const CalculationInfo* findCalculation(std::string_view name);

// The index of a field by key, or nothing.
std::optional<std::size_t> findField(std::span<const FieldInfo> fields, std::string_view key);

// --units and the units column: "in", "mm", "cm" and "none" (in any case) for the list's indexes
// 0, 1, 2, -1.
std::optional<int> unitFromKey(std::string_view key);
std::string_view unitKey(int unitIndex);

} // namespace cli
