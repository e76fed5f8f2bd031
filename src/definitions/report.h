// The definition report that copying a tweak out of the panel writes: 18 lines in the interface
// language, CR LF after each, Russian labels as Windows-1251 bytes; an empty file for a language
// other than English or Russian.
#pragma once
#include <cstdint>
#include <string>

#include "definitions/tweak_record.h"

namespace qzr {

std::string DefinitionReport(const TTWREC& tweak, uint8_t language);

}  // namespace qzr
