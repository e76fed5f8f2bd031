// The process-wide seam, made from the build's backend on first use and never destroyed.
#include "platform/platform.h"

#include "util/no_destructor.h"

namespace qzr {

Platform& Os() {
  static NoDestructor<Platform> current(NativePlatform());
  return current.get();
}

}  // namespace qzr
