// Environment variables in definition lines: %NAME% replaced by the variable's value.
#pragma once
#include <cstddef>
#include <string>

namespace qzr {

// What makes every expansion end, however its values refer to each other (see env_expand.cpp).
struct ExpansionBounds {
  int Rounds = 4096;
  size_t Length = size_t{1} << 20;  // the longest text a round may make
  size_t Work = size_t{16} << 20;   // what all rounds together may read, as if each read the whole text
};

std::string ExpandEnvVars(const std::string& text, const ExpansionBounds& bounds = {});

// The same expansion made in rounds over the whole text however many rounds it takes: what
// ExpandEnvVars must equal, kept for the tests that hold it to that.
std::string ExpandEnvVarsInWholeTextRounds(const std::string& text, const ExpansionBounds& bounds = {});

}  // namespace qzr
