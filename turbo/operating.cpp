#include "operating.hpp"

#include <bit>
#include <cstdint>

namespace turbo {

namespace {
constexpr std::uint32_t kNotGivenBits = 0x7fc0'a17du;
} // namespace

float notGiven() {
    return std::bit_cast<float>(kNotGivenBits);
}

bool isNotGiven(float value) {
    return std::bit_cast<std::uint32_t>(value) == kNotGivenBits;
}

} // namespace turbo
