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

std::string DescribeIcon(void* icon) {
#ifdef _WIN32
  ICONINFO info{};
  if (!icon || !GetIconInfo(static_cast<HICON>(icon), &info)) return "no icon";
  BITMAP bitmap{};
  GetObject(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  int height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return "icon " + std::to_string(bitmap.bmWidth) + "x" + std::to_string(height);
#else
  return icon ? "icon" : "no icon";
#endif
}

}  // namespace wfxhost
