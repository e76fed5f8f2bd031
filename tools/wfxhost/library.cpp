// Library loading for both platforms.
#include "library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace wfxhost {

std::string NativePath(const std::string& path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    std::string out = "Z:" + path;
    for (char& c : out)
      if (c == '/') c = '\\';
    return out;
  }
#endif
  return path;
}

Library::Library(const std::string& path) {
#ifdef _WIN32
  handle_ = reinterpret_cast<void*>(LoadLibraryA(NativePath(path).c_str()));
  if (!handle_) error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
#else
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) error_ = dlerror();
#endif
}

Library::~Library() { Unload(); }

void Library::Unload() {
  if (!handle_) return;
#ifdef _WIN32
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
  handle_ = nullptr;
}

void* Library::Symbol(const char* name) const {
  if (!handle_) return nullptr;
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
  return dlsym(handle_, name);
#endif
}

}  // namespace wfxhost
