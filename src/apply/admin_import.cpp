// The import as administrator and its read-back.
#include "apply/admin_import.h"

#include <algorithm>
#include <utility>

#include "apply/reg_backup.h"
#include "apply/reg_file_text.h"
#include "platform/platform.h"
#include "stores/vesk_registry.h"

namespace qzr {
namespace {

// The change is there when the state an undo file would now save is the change itself: the
// value with its type and data, its "=-" line, or the key's "[-...]" line. A value to delete
// whose key is gone is deleted too.
bool ReadBackShows(const RefusedChange& change) {
  const TTWREC& t = *change.Tweak;
  const RegHandle root = RootKeyForCode(t.RootKey).value_or(kHkeyCurrentUser);
  const std::optional<RegBackup> now = ReadRegBackup(root, t.Path, t.VarName, change.Action == SaveAction::kDeleteKey);
  if (!now) return false;
  return now->Body == change.Lines || (change.Action == SaveAction::kDeleteValue && now->Before == "no key");
}

}  // namespace

bool ElevatableRoot(RegHandle root) { return root != kHkeyCurrentUser && root != kHkeyClassesRoot; }

void AdminImport::Add(RefusedChange change) {
  std::lock_guard lock(mutex_);
  changes_.push_back(std::move(change));
}

bool AdminImport::Empty() const {
  std::lock_guard lock(mutex_);
  return changes_.empty();
}

std::vector<std::string> AdminImport::KeyNames() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> names;
  for (const RefusedChange& change : changes_)
    if (std::find(names.begin(), names.end(), change.KeyName) == names.end()) names.push_back(change.KeyName);
  return names;
}

std::vector<ImportOutcome> AdminImport::Run(bool yes, void* owner) {
  std::vector<RefusedChange> changes;
  {
    std::lock_guard lock(mutex_);
    changes.swap(changes_);
  }
  long rc = win::kCancelled;
  if (yes && !changes.empty()) {
    std::string text = kRegFileHeader;
    for (const RefusedChange& change : changes) text += change.Lines;
    rc = Os().system->ImportRegistryFileAsAdministrator(RegFileBytes(text), owner);
  }
  std::vector<ImportOutcome> outcomes;
  for (const RefusedChange& change : changes) {
    // The exit code alone proves nothing: reg.exe may answer 0 for a file it took only part of.
    if (rc == win::kSuccess && ReadBackShows(change)) {
      outcomes.push_back(ImportOutcome{change.Tweak, true, {}});
      continue;
    }
    outcomes.push_back(
        ImportOutcome{change.Tweak, false, TakeBackRefused(*change.Tweak, change.Action, change.Backup, change.Refusal)});
  }
  return outcomes;
}

}  // namespace qzr
