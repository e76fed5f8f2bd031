// The scratch key, emptied depth-first with the seam's calls (independent of the store under test).
#include "support/registry_scratch.h"

#include <vector>

#include "util/utf16.h"

namespace qzr::test {
namespace {

RegistryApi& Reg() { return *Os().registry; }

// By wide names: a test's keys may be named in any script.
bool DeleteTree(RegHandle base, const std::u16string& subKey) {
  RegHandle key = 0;
  if (Reg().OpenKeyW(base, subKey, win::kKeyAllAccess, &key) != win::kSuccess) return false;
  std::vector<std::u16string> children;
  std::u16string name;
  for (uint32_t i = 0; Reg().EnumKeyW(key, i, &name) == win::kSuccess; ++i) children.push_back(name);
  for (const std::u16string& child : children) DeleteTree(key, child);
  Reg().CloseKey(key);
  return Reg().DeleteKeyW(base, subKey) == win::kSuccess;
}

}  // namespace

bool DeleteRegistryTree(RegHandle base, const std::string& subKey) { return DeleteTree(base, Utf8ToUtf16(subKey)); }

ScratchKey::ScratchKey() {
  DeleteRegistryTree(kHkeyCurrentUser, kPath);
  if (Reg().CreateKey(kHkeyCurrentUser, kPath, win::kKeyAllAccess, &handle_) != win::kSuccess) handle_ = 0;
}

ScratchKey::~ScratchKey() {
  if (handle_) Reg().CloseKey(handle_);
  DeleteRegistryTree(kHkeyCurrentUser, kPath);
}

}  // namespace qzr::test
