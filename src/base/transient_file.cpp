// Removing a transient file at the end of its scope.
#include "base/transient_file.h"

#include "platform/platform.h"

namespace qzr {

TransientFile::~TransientFile() {
  if (!made_) return;
  try {
    Os().files->RemoveFile(path_);
  } catch (...) {
    // A removal that fails leaves the file, as when it answers an error.
  }
}

}  // namespace qzr
