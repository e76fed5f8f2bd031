// A tweak's value as the user reads it: an integer in signed decimal, a text unchanged, bytes
// as two upper-case hexadecimal digits each (the first dataSize of them), nothing as "".
#pragma once
#include <string>

#include "definitions/tweak_record.h"

namespace qzr {

std::string ValueToText(const TweakValue& value, int32_t dataSize);
std::string BytesToHex(const TRaw& bytes, int32_t count);

}  // namespace qzr
