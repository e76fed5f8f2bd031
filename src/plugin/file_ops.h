// Copying a tweak out of the virtual folder: the definition report goes into the target file.
#pragma once
#include <string>

namespace qzr {

enum class CopyOutcome { kDone, kNotFound, kWriteError };

// Writes the report of the tweak behind `remoteName` into `localName`, replacing any file there
// without asking.
CopyOutcome CopyReportOut(const std::string& remoteName, const std::string& localName);

}  // namespace qzr
