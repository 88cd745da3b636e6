#pragma once
// Tables of rows looked up by an enum's number: the row of value e stands at index e. Checked at
// compile time, so that a row added out of order does not build.

#include <array>
#include <cstddef>

namespace fields {

template <typename Row, std::size_t N, typename Enum>
constexpr bool inEnumOrder(const std::array<Row, N>& rows, Enum Row::*key) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].*key) != i)
            return false;
    return true;
}

} // namespace fields
