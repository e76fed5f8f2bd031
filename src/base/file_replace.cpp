// Atomic file replacement over the platform seam.
#include "base/file_replace.h"

#include <cstdio>
#include <mutex>
#include <random>
#include <utility>

#include "base/transient_file.h"
#include "platform/platform.h"
#include "util/no_destructor.h"
#include "util/text.h"

namespace qzr {
namespace {

// "~qzr" and eight hex digits beside the file: the temporary path is never longer than the folder
// and twelve characters, so any target the host may pass has room for it. A name that is taken is
// never used; empty when no free one turns up.
std::string TemporaryBeside(const std::string& path) {
  // One per thread: saves may run on the host's threads at once.
  thread_local std::minstd_rand generator{std::random_device{}()};
  const std::string folder = FolderPart(path);
  for (int attempt = 0; attempt < 64; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~qzr%08X", static_cast<unsigned>(generator()));
    if (Os().files->GetAttributes(folder + name) == win::kInvalidAttributes) return folder + name;
  }
  return {};
}

}  // namespace

std::shared_mutex& FileReplaceLock() {
  // Never destroyed, like every lock the module's threads share: a host thread may still read
  // a file while the process ends.
  static NoDestructor<std::shared_mutex> lock;
  return lock.get();
}

long ReplaceFileContents(const std::string& givenPath, const std::string& bytes) {
  FileApi& files = *Os().files;
  // A symbolic link stays a link: what it leads to is replaced, with the temporary file beside it.
  const std::string path = files.FinalPath(givenPath);
  // A read-only target stays as it is: Windows refuses to replace it, and so do we, at once.
  uint32_t attributes = files.GetAttributes(path);
  if (attributes != win::kInvalidAttributes && (attributes & (win::kAttrReadOnly | win::kAttrDirectory)))
    return win::kAccessDenied;
  std::string temporaryPath = TemporaryBeside(path);
  if (temporaryPath.empty()) return win::kFileExists;
  TransientFile temporary(std::move(temporaryPath));
  temporary.SetMade(true);  // a write that fails may still leave part of the file
  long rc = files.WriteWhole(temporary.Path(), bytes);
  if (rc != win::kSuccess) return rc;
  {
    std::unique_lock lock(FileReplaceLock());
    if (!files.MoveReplace(temporary.Path(), path)) return win::kAccessDenied;
  }
  temporary.Keep();
  return win::kSuccess;
}

}  // namespace qzr
