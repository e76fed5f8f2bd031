// Atomic file replacement over the platform seam.
#include "core/file_replace.h"

#include <cstdio>
#include <random>

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
  // The temporary file goes again unless it became the target, also when a call below raises.
  struct Temporary {
    FileApi& files;
    std::string path;
    bool moved = false;
    ~Temporary() {
      if (moved) return;
      try {
        files.RemoveFile(path);
      } catch (...) {
      }
    }
  } temporary{files, TemporaryBeside(path)};
  long rc = files.WriteWhole(temporary.path, bytes);
  if (rc != win::kSuccess) return rc;
  if (!files.MoveReplace(temporary.path, path)) return win::kAccessDenied;
  temporary.moved = true;
  return win::kSuccess;
}

}  // namespace qzr
