// Text to integer.
#include "base/int_text.h"

namespace qzr {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> TextToInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i >= s.size()) return std::nullopt;

  bool hex = false;
  if (s[i] == '$' || s[i] == 'x' || s[i] == 'X') {
    hex = true;
    ++i;
  } else if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return std::nullopt;

  if (hex) {
    uint32_t value = 0;
    int significant = 0;
    for (; i < s.size(); ++i) {
      int d = HexDigit(s[i]);
      if (d < 0) return std::nullopt;
      if (significant > 0 || d != 0) ++significant;
      if (significant > 8) return std::nullopt;
      value = (value << 4) | static_cast<uint32_t>(d);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
  }

  int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > int64_t{2147483648}) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace qzr
