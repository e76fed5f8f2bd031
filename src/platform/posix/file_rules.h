// What the POSIX file substitutes, on disk and in memory, refuse before they touch anything:
// a path too long for the file calls, and an injected fault.
#pragma once
#include <string>

#include "platform/posix/faults.h"
#include "platform/win_codes.h"
#include "util/utf16.h"

namespace qzr::posix {

// The calls that open, make or look at a file take paths of at most MAX_PATH characters (Wine:
// 260, the terminating zero not counted; characters as UTF-16 counts them) and refuse a longer one
// before anything is touched. CopyFile takes longer paths, and MoveFileEx a longer new name.
inline bool TooLong(const std::string& path) { return LongerInUtf16Than(path, 260); }

// Why an operation on `path` is refused before it starts: a path too long, or an injected fault;
// 0 when it may go on.
inline long Refusal(const std::string& operation, const std::string& path) {
  if (TooLong(path)) return win::kFilenameExcedRange;
  return Faults::Check(operation, path);
}

// How often an append tries again while an edit holds the file, and how long it waits before
// try number `attempt` (from 1), in microseconds: as the Windows backend does.
inline constexpr int kHoldAttempts = 4;
inline unsigned HoldWait(int attempt) { return 10000u * static_cast<unsigned>(attempt); }

}  // namespace qzr::posix
