// The plugin database below IniDir: every definition in ModuleDir\plugins is parsed once per
// load; the valid ones stay in TweakTable and are copied to qzr_plugins, the rest (with errors or
// for the other OS family) to ~trash. Each folder has a descript.ion list and a directory.txt note.
#pragma once
#include <string>
#include <vector>

namespace qzr {

// Builds the database from the empty table the module has at load. Reports nothing: a step that
// fails is left undone and the build goes on.
void BuildPluginDatabase();
// Parses one definition file (full path) into a new TweakTable record and files it.
void LoadTweakFile(const std::string& fileName);
// IniDir + "~trash" + delimiter: where the build files rejected definitions.
std::string TrashFolder();
// The names of the definition files in `folder` (which ends with the delimiter): "*.tweak" files,
// plain, read-only, hidden, system or archive alike, never folders; in the file system's order.
std::vector<std::string> FindTweakFiles(const std::string& folder);
// Deletes a file even when it is read-only; true also when there was no such file.
bool ForceDeleteFile(const std::string& fileName);

}  // namespace qzr
