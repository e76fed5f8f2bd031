// The plugin database below IniDir: every definition in ModuleDir\plugins is parsed once per
// load; the valid ones stay in the tweak table and are copied to qzr_plugins, the rest (with
// errors or for the other OS family) to ~trash. Each folder has a descript.ion list and a
// directory.txt note.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "definitions/tweak_record.h"

namespace qzr {

// What a build or a rebuild works with: the folders, and what decides a definition's fate.
struct DatabaseSetup {
  std::string ModuleDir;  // its plugins folder holds the definitions; with trailing delimiter
  std::string IniDir;     // the database folders are made here; with trailing delimiter
  bool OSIsNT = false;    // definitions for the other OS family go to ~trash
  uint8_t Language = 0;   // of the description of a definition without a name, and of the rebuild
};

// The table a build fills: the valid records in the order their files were found, and Pos, the
// 1-based number of the record being filled (afterwards the count).
struct TweakTable {
  std::vector<TTWREC>& Records;
  int32_t& Pos;
};

// Builds the database into an empty table. Reports nothing: a step that fails is left undone
// and the build goes on.
void BuildPluginDatabase(const DatabaseSetup& setup, TweakTable table);
// Parses one definition file (full path) into a new record of the table and files it.
void LoadTweakFile(const DatabaseSetup& setup, const std::string& fileName, TweakTable table);
// ModuleDir + "plugins" + delimiter: where the definitions are.
std::string PluginsFolder(const std::string& moduleDir);
// IniDir + "~trash" + delimiter: where the build files rejected definitions.
std::string TrashFolder(const std::string& iniDir);
// The names of the definition files in `folder` (which ends with the delimiter): "*.tweak" files,
// plain, read-only, hidden, system or archive alike, never folders; in the file system's order.
std::vector<std::string> FindTweakFiles(const std::string& folder);
// Deletes a file even when it is read-only; true also when there was no such file.
bool ForceDeleteFile(const std::string& fileName);

}  // namespace qzr
