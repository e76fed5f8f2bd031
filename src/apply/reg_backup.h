// The registry state a Save is about to replace, read through the seam with read rights only and
// written as the body of a registry file (UTF-8 lines, see reg_file_text.h) that puts it back: the old value with its type and
// data, or its removal when there was none, or the removal of the keys the Save will create;
// before a key is deleted, the whole tree below it.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace qzr {

struct RegBackup {
  std::string Body;    // the lines after the header and the comment, UTF-8
  std::string Before;  // the old state in a few words, for the comment, UTF-8
  // The keys the Save creates on its way to the value, deepest first, each by its path from the
  // root: what a refused Save takes back.
  std::vector<std::string> Created;
};

// `path` is the key below `root` as a tweak gives it (a leading backslash, doubled and trailing
// ones count as the store counts them). With `wholeKey`, the key and everything below it; else
// the value `valueName` (both in the ANSI code page, as a tweak holds them); every name below
// the key and every value is read with the wide calls, so nothing is lost. Nothing when the state cannot be read in full, or cannot be written in
// a form the registry editor reads back: a key whose name holds "]" or a line end (a header line
// has no escapes; such a name would end it early or split it, and put values under another key).
std::optional<RegBackup> ReadRegBackup(RegHandle root, const std::string& path, const std::string& valueName,
                                       bool wholeKey);

// The key's full name as ReadRegBackup writes it in a header line ("HKEY_LOCAL_MACHINE\A\B"),
// `path` taken as the store takes it.
std::string RegKeyFullName(RegHandle root, const std::string& path);

}  // namespace qzr
