// Environment variables in definition lines: %NAME% replaced by the variable's value.
#pragma once
#include <string>

namespace qzr {

std::string ExpandEnvVars(const std::string& text);

}  // namespace qzr
