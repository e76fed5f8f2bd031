// Functions of system DLLs that older Windows lacks, looked up at run time so that the module
// still loads there.
#pragma once
#include <windows.h>

namespace qzr::win32 {

// The function, or null where the system has none. The detour through void(*)() is the
// conversion the compiler accepts between unrelated function types.
template <typename Function>
Function SystemFunction(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace qzr::win32
