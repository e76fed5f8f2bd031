// Value conversions at the stores' edge.
#include "stores/tweak_values.h"

#include "base/errors.h"
#include "base/int_text.h"
#include "util/text.h"

namespace qzr {
namespace {

// Whether the text has the shape of a number (so a failed conversion is an overflow).
bool LooksNumeric(const std::string& text) {
  std::string_view s = TrimControl(text);
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  bool hex = false;
  if (!s.empty() && s[0] == '$') {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  for (char c : s) {
    bool digit = c >= '0' && c <= '9';
    bool hexDigit = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!digit && !(hex && hexDigit)) return false;
  }
  return true;
}

}  // namespace

int32_t ValueAsInteger(const TweakValue& value) {
  if (const auto* i = std::get_if<int32_t>(&value)) return *i;
  if (const auto* s = std::get_if<std::string>(&value)) return TypedTextAsInteger(*s);
  return 0;
}

std::string ValueAsText(const TweakValue& value) {
  if (const auto* i = std::get_if<int32_t>(&value)) return std::to_string(*i);
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  return {};
}

int32_t TypedTextAsInteger(const std::string& text) {
  std::string_view trimmed = TrimControl(text);
  // The "x" prefix of definitions is not a form a user types.
  bool plainHexPrefix = !trimmed.empty() && (trimmed[0] == 'x' || trimmed[0] == 'X');
  if (!plainHexPrefix) {
    if (auto value = TextToInt(trimmed)) return *value;
  }
  if (LooksNumeric(text)) throw ShownError("Overflow while converting variant of type (String) into type (Integer)");
  throw ShownError("Could not convert variant of type (String) into type (Integer)");
}

}  // namespace qzr
