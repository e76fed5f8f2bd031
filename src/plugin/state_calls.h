// The lower layers' work done on the module's state: each call takes the folders, the OS family,
// the language and the tweak table from State() and passes them down as arguments, so that
// nothing below plugin/ knows the state exists.
#pragma once
#include <string>
#include <string_view>

#include "database/plugin_database.h"
#include "definitions/tweak_record.h"
#include "plugin/plugin_state.h"

namespace qzr {

// The state's folders, OS family and language, as the database build and the rebuild take them.
DatabaseSetup DatabaseSetupOf(const PluginState& state);

// The database build into the state's tweak table (empty at load).
void BuildPluginDatabase();
// One definition file (full path) parsed into a new record of the state's table and filed.
void LoadTweakFile(const std::string& fileName);
// The state's ~trash folder.
std::string TrashFolder();
// The rebuild command, in the interface language.
void RebuildBase();

// The parser on the record being filled (TweakTable entry TweakPos - 1): a line changes nothing
// while no record is being filled, and BIN value text takes that record's DataSize (0 without one).
void ParseTweakLine(std::string_view line);
TRaw HexToRaw(std::string_view text);

}  // namespace qzr
