// Where the substitute registry lives between loads of the module, and its text form:
//
//   QZR_TC registry 1
//   [HKEY_CURRENT_USER\Software\Example]
//   "Name"=4:01000000
//
// one bracketed line per key (full path from its root), then one line per value: the name in
// quotes, "=", the registry type in decimal, ":", the data in hexadecimal. Bytes below 0x20,
// 0x7F, "%" and the quote are written as %XX in names. Lines that do not fit are skipped.
#pragma once
#include <string>

#include "platform/posix/registry_tree.h"

namespace qzr::posix {

// QZR_REGISTRY_FILE when it is set (set but empty: no file, the registry lives in memory only),
// else $XDG_CONFIG_HOME/qzr_tc/registry.txt, else $HOME/.config/qzr_tc/registry.txt; empty
// when none of these applies.
std::string RegistryFileLocation();

std::string FormatRegistry(const RegistryTree& tree);
void ParseRegistry(const std::string& text, RegistryTree* tree);

enum class RegistryLoad { kLoaded, kMissing, kUnreadable };
RegistryLoad LoadRegistryFile(const std::string& path, RegistryTree* tree);
// Writes a temporary file beside `path` and renames it over the old one, making the folder
// first when it is missing. False when anything fails; the old file then stays as it was.
bool SaveRegistryFile(const std::string& path, const RegistryTree& tree);

}  // namespace qzr::posix
