// The rebuild command. Not built yet: the button does nothing.
#include "core/rebuild.h"

namespace qzr {

void RebuildBase() {}

}  // namespace qzr
