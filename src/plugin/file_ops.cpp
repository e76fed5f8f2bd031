// Copying out of the virtual folder.
#include "plugin/file_ops.h"

#include "base/file_replace.h"
#include "definitions/report.h"
#include "platform/platform.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"

namespace qzr {

CopyOutcome CopyReportOut(const std::string& remoteName, const std::string& localPath) {
  const TTWREC* tweak = TweakAt(TweakIndexOf(remoteName));
  if (!tweak) return CopyOutcome::kNotFound;
  std::string report = DefinitionReport(*tweak, State().Language);
  return ReplaceFileContents(localPath, report) == win::kSuccess ? CopyOutcome::kDone : CopyOutcome::kWriteError;
}

}  // namespace qzr
