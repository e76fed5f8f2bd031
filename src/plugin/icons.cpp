// Choosing and loading the entries' icons.
#include "plugin/icons.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "plugin/listing.h"
#include "util/text.h"

namespace qzr {

const char* IconResourceFor(const std::string& remoteName) {
  std::string name(TrimControl(FileNamePart(remoteName)));
  if (name.empty() || name == "." || name == "..") return nullptr;
  const TTWREC* tweak = TweakAt(TweakIndexOf(name));
  if (!tweak) return nullptr;
  return tweak->PlugType == kPlugReg ? "SOMEICON" : "XICON";
}

void* LoadSharedIcon(const char* resourceName) {
#ifdef _WIN32
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&IconResourceFor), &self);
  return LoadImageA(self, resourceName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
#else
  (void)resourceName;
  return nullptr;
#endif
}

}  // namespace qzr
