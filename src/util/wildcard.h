// File-name wildcard matching without regard to ASCII letter case: "*" any run, "?" one
// character, and (where allowed) "[set]" one character of a set with ranges and "!" negation.
#pragma once
#include <string_view>

namespace qzr {

bool WildcardMatch(std::string_view mask, std::string_view name, bool allowSets = true);

}  // namespace qzr
