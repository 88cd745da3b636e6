#include "calculation_fields.hpp"

namespace fields {

const CalculationFields* findCalculation(std::string_view name) {
    for (const auto& c : kCalculations)
        if (c.name == name)
            return &c;
    return nullptr;
}

std::string describe(const Field& f) {
    if (!f.description.empty())
        return std::string(f.description);
    std::string_view label = f.label.empty() ? f.unit : f.label;
    if (label.ends_with(':'))
        label.remove_suffix(1);
    std::string text(label);
    if (!f.unit.empty() && !f.label.empty())
        text += ", " + std::string(f.unit);
    return text;
}

} // namespace fields
