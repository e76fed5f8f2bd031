// Copying out of the virtual folder.
#include "core/file_ops.h"

#include "core/file_replace.h"
#include "core/listing.h"
#include "core/plugin_state.h"
#include "core/report.h"
#include "platform/platform.h"

namespace qzr {

CopyOutcome CopyReportOut(const std::string& remoteName, const std::string& localName) {
  const TTWREC* tweak = TweakAt(TweakIndexOf(remoteName));
  if (!tweak) return CopyOutcome::kNotFound;
  std::string report = DefinitionReport(*tweak, State().Language);
  return ReplaceFileContents(localName, report) == win::kSuccess ? CopyOutcome::kDone : CopyOutcome::kWriteError;
}

}  // namespace qzr
