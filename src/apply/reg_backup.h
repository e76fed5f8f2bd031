// The registry state a Save is about to replace, read through the seam with read rights only and
// written as the body of a REGEDIT4 file that puts it back: the old value with its type and
// data, or its removal when there was none, or the removal of the keys the Save will create;
// before a key is deleted, the whole tree below it.
#pragma once
#include <optional>
#include <string>

#include "platform/registry_api.h"

namespace qzr {

struct RegBackup {
  std::string Body;    // the lines after the header and the comment
  std::string Before;  // the old state in a few words, for the comment
};

// `path` is the key below `root` as a tweak gives it (a leading backslash, doubled and trailing
// ones count as the store counts them). With `wholeKey`, the key and everything below it; else
// the value `valueName`. Nothing when the state cannot be read in full.
std::optional<RegBackup> ReadRegBackup(RegHandle root, const std::string& path, const std::string& valueName,
                                       bool wholeKey);

}  // namespace qzr
