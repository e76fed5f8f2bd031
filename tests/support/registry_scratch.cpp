// The scratch key, emptied depth-first with the seam's calls (independent of the store under test).
#include "support/registry_scratch.h"

#include <vector>

namespace qzr::test {
namespace {

RegistryApi& Reg() { return *Os().registry; }

}  // namespace

bool DeleteRegistryTree(RegHandle base, const std::string& subKey) {
  RegHandle key = 0;
  if (Reg().OpenKey(base, subKey, win::kKeyAllAccess, &key) != win::kSuccess) return false;
  std::vector<std::string> children;
  for (uint32_t i = 0;; ++i) {
    char name[512];
    uint32_t length = sizeof name;
    if (Reg().EnumKey(key, i, name, &length) != win::kSuccess) break;
    children.emplace_back(name, length);
  }
  for (const std::string& child : children) DeleteRegistryTree(key, child);
  Reg().CloseKey(key);
  return Reg().DeleteKey(base, subKey) == win::kSuccess;
}

ScratchKey::ScratchKey() {
  DeleteRegistryTree(kHkeyCurrentUser, kPath);
  if (Reg().CreateKey(kHkeyCurrentUser, kPath, win::kKeyAllAccess, &handle_) != win::kSuccess) handle_ = 0;
}

ScratchKey::~ScratchKey() {
  if (handle_) Reg().CloseKey(handle_);
  DeleteRegistryTree(kHkeyCurrentUser, kPath);
}

}  // namespace qzr::test
