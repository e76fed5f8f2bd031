// The Win32 seam: one instance of each part for the whole process.
#include "platform/win32/backends.h"

namespace qzr {
namespace win32 {

Platform NativePlatformParts() {
  static Registry registry;
  static Profile profile;
  static Files files;
  static System system;
  static Ui ui;
  return Platform{&registry, &profile, &files, &system, &ui};
}

}  // namespace win32

Platform NativePlatform() { return win32::NativePlatformParts(); }

}  // namespace qzr
