// Replacing a user's file whole: the new bytes go to a temporary file beside it, which then
// takes the old one's place, so a failed write (disk full, read-only target) leaves the old
// file exactly as it was.
#pragma once
#include <shared_mutex>
#include <string>

namespace qzr {

// Returns a Windows status code: 0 on success.
long ReplaceFileContents(const std::string& path, const std::string& bytes);

// Held exclusively by ReplaceFileContents while it renames over the file, and shared by whoever
// reads a file that a Save may replace at the same time on another thread: Windows refuses to
// rename over a file that is open.
std::shared_mutex& FileReplaceLock();

}  // namespace qzr
