// A tweak's value handed to a store: as an integer (nothing is 0, text by the system's number
// rule) or as text (an integer in signed decimal, nothing is "").
#pragma once
#include <cstdint>
#include <string>

#include "definitions/tweak_record.h"

namespace qzr {

int32_t ValueAsInteger(const TweakValue& value);
std::string ValueAsText(const TweakValue& value);

// Text typed by the user as a DWORD: signed decimal, or hexadecimal after "$" or "0x". Raises
// "Could not convert variant of type (String) into type (Integer)" for anything else, and
// "Overflow while converting variant of type (String) into type (Integer)" for a number outside
// the signed 32-bit range.
int32_t TypedTextAsInteger(const std::string& text);

}  // namespace qzr
