// Where the settings and the database go: the folder of the host's suggested settings file, or,
// when the host could not name it in the ANSI code page, the folder the host really uses.
#pragma once
#include <string>

namespace qzr {

// The settings folder, with its delimiter, for the file the host suggested (`suggestedIni`, path
// text made from its ANSI name) and this module's folder:
//   1. the suggested file's folder, when it exists (no folder at all: the module's);
//   2. else the folder of the file the environment variable COMMANDER_INI names (Total Commander
//      sets it to its wincmd.ini), read wide, when that folder exists;
//   3. else, when the suggested name lost characters ("?", which no folder name holds), the
//      module's folder: the suggested one can never be reached;
//   4. else the suggested folder as it is: missing, it is reported as without write access.
std::string ChooseSettingsFolder(const std::string& suggestedIni, const std::string& moduleDir);

}  // namespace qzr
