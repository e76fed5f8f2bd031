// The lower layers' calls, made on the module's state.
#include "plugin/state_calls.h"

#include "database/rebuild.h"
#include "definitions/tweak_parser.h"

namespace qzr {
namespace {

TweakTable TableOf(PluginState& state) { return TweakTable{state.TweakTable, state.TweakPos}; }

// The record being filled, or null while there is none.
TTWREC* RecordBeingFilled() {
  PluginState& s = State();
  if (s.TweakPos < 1 || static_cast<size_t>(s.TweakPos) > s.TweakTable.size()) return nullptr;
  return &s.TweakTable[static_cast<size_t>(s.TweakPos) - 1];
}

}  // namespace

DatabaseSetup DatabaseSetupOf(const PluginState& state) {
  return DatabaseSetup{state.ModuleDir, state.IniDir, state.OSIsNT, state.Language};
}

void BuildPluginDatabase() { BuildPluginDatabase(DatabaseSetupOf(State()), TableOf(State())); }

void LoadTweakFile(const std::string& fileName) { LoadTweakFile(DatabaseSetupOf(State()), fileName, TableOf(State())); }

std::string TrashFolder() { return TrashFolder(State().IniDir); }

void RebuildBase() { RebuildBase(DatabaseSetupOf(State())); }

void ParseTweakLine(std::string_view line) {
  if (TTWREC* record = RecordBeingFilled()) ParseTweakLine(*record, line);
}

TRaw HexToRaw(std::string_view text) {
  const TTWREC* record = RecordBeingFilled();
  return HexToRaw(text, record ? record->DataSize : 0);
}

}  // namespace qzr
