// The listing object.
#include "plugin/x_arc.h"

#include <algorithm>

#include "base/write_access.h"
#include "platform/platform.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "plugin/state_calls.h"
#include "util/text.h"
#include "util/wildcard.h"

namespace qzr {

std::string VirtualFileName(const std::string& tweakName) { return tweakName + "."; }

std::string FindRecordName(const std::string& name) {
  return name.substr(0, std::min(name.find('\0'), kFindRecordNameMax));
}

std::string TXARC::About() const { return "QZR_TC virtual folder of system tweaks"; }

std::string TXARC::TempExt() const { return tempExt_.empty() ? ".$$$" : tempExt_; }

void TXARC::SetTempExt(const std::string& value) {
  tempExt_ = std::string(TrimControl(value));
  if (tempExt_.empty()) tempExt_ = ".$$$";
}

bool TXARC::Open(const std::string& archiveName) {
  if (Opened) return true;
  archiveName_ = archiveName;
  Opened = true;
  Names.clear();
  try {
    PluginState& s = State();
    // The build writes into IniDir, so that is the folder whose write access counts, and the
    // one the message names.
    // Without a folder for the database nothing is built: relative paths would land wherever
    // the host's current folder happens to be.
    if (s.IniDir.empty()) {
    } else if (HasWriteAccess(s.IniDir))
      BuildPluginDatabase();
    else
      ShowNeedWriteAccess(s.IniDir);
  } catch (...) {
    // The listing shows what was built before the error.
  }
  return LoadNames();
}

bool TXARC::LoadNames() {
  const PluginState& s = State();
  // Made aside and swapped in, so that a failure half way leaves the names and their index as
  // they were, never disagreeing.
  std::vector<std::string> names;
  std::unordered_map<std::string, int32_t> firstByName, firstByRecordName;
  names.reserve(static_cast<size_t>(std::max(s.TweakPos, 0)));
  for (int32_t i = 0; i < s.TweakPos && i < static_cast<int32_t>(s.TweakTable.size()); ++i) {
    names.push_back(VirtualFileName(s.TweakTable[static_cast<size_t>(i)].TweakName));
    firstByName.emplace(Os().system->UpperCase(names.back()), i);
    if (std::string shown = FindRecordName(names.back()); shown.size() != names.back().size())
      firstByRecordName.emplace(Os().system->UpperCase(shown), i);
  }
  Names.swap(names);
  firstByName_.swap(firstByName);
  firstByRecordName_.swap(firstByRecordName);
  return true;
}

int32_t TXARC::IndexOfName(const std::string& name) const {
  const std::string upper = Os().system->UpperCase(name);
  if (auto it = firstByName_.find(upper); it != firstByName_.end()) return it->second;
  if (auto it = firstByRecordName_.find(upper); it != firstByRecordName_.end()) return it->second;
  return -1;
}

void TXARC::Found(int32_t position, TSearch& search) const {
  search.ItemIndex = IndexOfName(Names[static_cast<size_t>(position)]);
  search.ItemSize = 0;
  search.ItemName = Names[static_cast<size_t>(position)];
  search.SearchIndex = position;
}

namespace {

void NotFound(TSearch& search) { search.SearchIndex = search.ItemIndex = search.ItemSize = -1; }

}  // namespace

bool TXARC::FindFirst(const std::string& mask, TSearch& search) const {
  std::string m = mask == "*.*" ? "*" : mask;
  for (size_t i = 0; i < Names.size(); ++i) {
    if (!Names[i].empty() && Names[i][0] == '@') continue;
    if (!WildcardMatch(m, Names[i])) continue;
    search.SearchMask = m;
    Found(static_cast<int32_t>(i), search);
    return true;
  }
  NotFound(search);
  return false;
}

bool TXARC::FindNext(TSearch& search) const {
  if (search.SearchIndex < 0) return false;
  if (search.SearchIndex >= static_cast<int32_t>(Names.size()) - 1) return false;
  for (size_t i = static_cast<size_t>(search.SearchIndex) + 1; i < Names.size(); ++i) {
    if (!WildcardMatch(search.SearchMask, Names[i])) continue;
    Found(static_cast<int32_t>(i), search);
    return true;
  }
  NotFound(search);
  return false;
}

int32_t TXARC::FindClose(TSearch& search) const {
  search.SearchIndex = -1;
  search.SearchMask.clear();
  return 0;
}

}  // namespace qzr
