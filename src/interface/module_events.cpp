// Library attach and detach. Attach does nothing: start-up waits for the first entry point,
// because the loader lock held here forbids the registry reads it makes. Detach runs shut-down
// when the host unloads the module; at process exit nothing runs (other threads are gone,
// perhaps holding locks), and the language was kept in qzrtc.ini when the user chose it.
#include "interface/guard.h"
#include "platform/platform.h"
#include "plugin/lifecycle.h"

#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // Shut-down uses files and the profile functions of kernel32 only, and shows nothing. A host
  // thread still inside an entry point keeps what it reads until it returns.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) qzr::GuardedVoid([] { qzr::Shutdown(); });
  return TRUE;
}

#else

// Runs at dlclose, and at exit for a host that never unloads the module (its threads may still
// be reading columns then: what they use is freed when the last of them returns); everything
// shut-down reaches is never destroyed, so the order the runtime tears down in does not matter.
__attribute__((destructor)) static void QzrDetach() {
  qzr::GuardedVoid([] { qzr::Shutdown(qzr::ReleaseNativePlatform); });
}

#endif
