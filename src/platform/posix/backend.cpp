// The POSIX seam: one instance of each substitute for the whole process.
#include "platform/posix/backends.h"

namespace qzr {
namespace posix {

Platform NativePlatformParts() {
  static Registry registry;
  static Files files;
  static Profile profile(files);
  static System system;
  static Ui ui;
  return Platform{&registry, &profile, &files, &system, &ui};
}

}  // namespace posix

Platform NativePlatform() { return posix::NativePlatformParts(); }

}  // namespace qzr
