// The POSIX seam: one instance of each substitute for the whole process, never destroyed.
#include "platform/posix/backends.h"
#include "util/no_destructor.h"

namespace qzr {
namespace posix {

Platform NativePlatformParts() {
  static NoDestructor<Registry> registry;
  static NoDestructor<Files> files;
  static NoDestructor<Profile> profile(files.get());
  static NoDestructor<System> system;
  static NoDestructor<Ui> ui;
  return Platform{&registry.get(), &profile.get(), &files.get(), &system.get(), &ui.get()};
}

}  // namespace posix

Platform NativePlatform() { return posix::NativePlatformParts(); }

void ReleaseNativePlatform() {
  if (auto* registry = dynamic_cast<posix::Registry*>(NativePlatform().registry)) registry->Reload();
}

}  // namespace qzr
