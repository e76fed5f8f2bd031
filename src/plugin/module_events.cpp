// Start-up and shut-down on library attach and detach.
#include "plugin/guard.h"
#include "plugin/lifecycle.h"

#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) qzr::GuardedVoid(qzr::Startup);
  if (reason == DLL_PROCESS_DETACH) qzr::GuardedVoid(qzr::Shutdown);
  return TRUE;
}

#else

__attribute__((constructor)) static void QzrAttach() { qzr::GuardedVoid(qzr::Startup); }
__attribute__((destructor)) static void QzrDetach() { qzr::GuardedVoid(qzr::Shutdown); }

#endif
