// A scratch registry key for tests, HKEY_CURRENT_USER\Software\QZR_TC_Test: removed with
// everything below it before and after each use, through the seam's own calls.
#pragma once
#include <string>

#include "platform/platform.h"

namespace qzr::test {

class ScratchKey {
 public:
  static constexpr const char* kPath = "Software\\QZR_TC_Test";

  ScratchKey();
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // The scratch key, open with all access.
  RegHandle handle() const { return handle_; }
  // kPath + "\" + relative, as a path from HKEY_CURRENT_USER.
  static std::string Path(const std::string& relative) { return std::string(kPath) + "\\" + relative; }

 private:
  RegHandle handle_ = 0;
};

// Deletes `subKey` below `base` with every key below it; true when it is gone.
bool DeleteRegistryTree(RegHandle base, const std::string& subKey);

}  // namespace qzr::test
