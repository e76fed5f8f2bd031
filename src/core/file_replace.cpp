// Atomic file replacement over the platform seam.
#include "core/file_replace.h"

#include <cstdio>
#include <random>

#include "core/transient_file.h"
#include "platform/platform.h"

namespace qzr {
namespace {

std::string TemporaryBeside(const std::string& path) {
  static std::minstd_rand generator{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08X.qzr-tmp", static_cast<unsigned>(generator()));
  return path + suffix;
}

}  // namespace

long ReplaceFileContents(const std::string& path, const std::string& bytes) {
  FileApi& files = *Os().files;
  // A read-only target stays as it is: Windows refuses to replace it, and so do we, at once.
  uint32_t attributes = files.GetAttributes(path);
  if (attributes != win::kInvalidAttributes && (attributes & (win::kAttrReadOnly | win::kAttrDirectory)))
    return win::kAccessDenied;
  TransientFile temporary(TemporaryBeside(path));
  temporary.SetMade(true);  // a write that fails may still leave part of the file
  long rc = files.WriteWhole(temporary.Path(), bytes);
  if (rc != win::kSuccess) return rc;
  if (!files.MoveReplace(temporary.Path(), path)) return win::kAccessDenied;
  temporary.Keep();
  return win::kSuccess;
}

}  // namespace qzr
