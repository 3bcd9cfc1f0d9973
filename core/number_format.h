#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ristemo::core {

// Renders a value with a display picture such as "###0.0", "+###.0" or "#.0#":
// '0' is a digit place always filled, '#' one filled only by a significant digit, '.' the place of
// the decimal comma, anything else a literal. A float is first taken as its plain number text
// (seven significant digits), then rounded half away from zero. Never throws; NaN and infinities
// give "NaN", "inf" and "-inf".
std::string format_picture(float value, std::string_view picture);
std::string format_picture(std::int16_t value, std::string_view picture);

// Plain text of a number for the validation messages: at most seven significant digits, decimal
// comma, no exponent, no thousands separator («0», «0,39», «250»).
std::string number_text(float value);
std::string number_text(std::int16_t value);

}  // namespace ristemo::core
