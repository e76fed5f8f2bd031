// The process-wide seam, made from the build's backend on first use.
#include "platform/platform.h"

namespace qzr {

Platform& Os() {
  static Platform current = NativePlatform();
  return current;
}

}  // namespace qzr
