// The expansion's bounds as the fuzz targets use them: the same rules at a sixteenth of the
// rounds and a thousandth of the length and work, so that an input reaches them in a tenth of a
// millisecond where a text of a mebibyte takes several. The comparison with whole-text rounds
// (the env_expand_rounds target) runs with the real bounds too.
#pragma once
#include "base/env_expand.h"

namespace qzr::fuzz {

inline constexpr ExpansionBounds kExpansionBounds{256, size_t{1} << 11, size_t{1} << 14};

}  // namespace qzr::fuzz
