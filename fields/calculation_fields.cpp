#include "calculation_fields.hpp"

namespace fields {

const CalculationFields* findCalculation(std::string_view name) {
    for (const auto& c : kCalculations)
        if (c.name == name)
            return &c;
    return nullptr;
}

std::optional<std::size_t> findField(std::span<const Field> fields, std::string_view key) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key == key)
            return i;
    return std::nullopt;
}

} // namespace fields
