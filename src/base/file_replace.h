// Replacing a user's file whole: the new bytes go to a temporary file beside it, which then
// takes the old one's place, so a failed write (disk full, read-only target) leaves the old
// file exactly as it was.
#pragma once
#include <string>

namespace qzr {

// Returns a Windows status code: 0 on success.
long ReplaceFileContents(const std::string& path, const std::string& bytes);

}  // namespace qzr
