// Values as text.
#include "definitions/value_text.h"

#include <algorithm>

namespace qzr {

std::string BytesToHex(const TRaw& bytes, int32_t count) {
  static const char kDigits[] = "0123456789ABCDEF";
  size_t n = std::min(bytes.size(), static_cast<size_t>(std::max(count, 0)));
  std::string out;
  out.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

std::string ValueToText(const TweakValue& value, int32_t dataSize) {
  if (const auto* i = std::get_if<int32_t>(&value)) return std::to_string(*i);
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  if (const auto* raw = std::get_if<TRaw>(&value)) return BytesToHex(*raw, dataSize);
  return {};
}

}  // namespace qzr
