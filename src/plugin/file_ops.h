// Copying a tweak out of the virtual folder: the definition report goes into the target file.
#pragma once
#include <string>

namespace qzr {

enum class CopyOutcome { kDone, kNotFound, kWriteError };

// Writes the report of the tweak behind `remoteName` (ANSI, as the listing names it) into the
// file at `localPath` (path text, base/path_text.h), replacing any file there without asking.
CopyOutcome CopyReportOut(const std::string& remoteName, const std::string& localPath);

}  // namespace qzr
