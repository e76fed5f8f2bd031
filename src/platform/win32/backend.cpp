// The Win32 seam: one instance of each part for the whole process, never destroyed.
#include "platform/win32/backends.h"
#include "util/no_destructor.h"

namespace qzr {
namespace win32 {

Platform NativePlatformParts() {
  static NoDestructor<Registry> registry;
  static NoDestructor<Profile> profile;
  static NoDestructor<Files> files;
  static NoDestructor<System> system;
  static NoDestructor<Ui> ui;
  return Platform{&registry.get(), &profile.get(), &files.get(), &system.get(), &ui.get()};
}

}  // namespace win32

Platform NativePlatform() { return win32::NativePlatformParts(); }

// The Win32 parts keep nothing in memory.
void ReleaseNativePlatform() {}

}  // namespace qzr
