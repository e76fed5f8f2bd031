// Text to signed 32-bit integer, the rule every number in the system follows: leading blanks,
// an optional sign, then decimal digits in the signed 32-bit range, or hexadecimal after "$",
// "x", "X", "0x" or "0X" with at most 8 significant digits taken as a 32-bit pattern.
// Anything else, trailing characters included, is not a number.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace qzr {

std::optional<int32_t> TextToInt(std::string_view text);
inline int32_t TextToIntDef(std::string_view text, int32_t fallback) { return TextToInt(text).value_or(fallback); }

}  // namespace qzr
