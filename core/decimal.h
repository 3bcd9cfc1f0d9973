#pragma once

#include <cstdint>
#include <string>

namespace ristemo::core::detail {

// A decimal number as a digit string: value = 0.d1d2d3... × 10^point, digits without leading or
// trailing zeros (empty for zero).
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 0;
};

// The float's plain number text as a decimal: rounded to seven significant digits.
// Only for finite values.
Decimal decimal_of(float value);
// The same through the standard library's conversion, for any finite value.
Decimal decimal_of_general(float value);
Decimal decimal_of(std::int16_t value);

}  // namespace ristemo::core::detail
