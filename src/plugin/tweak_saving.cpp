// Save on the module's state, and the choice it leaves recorded.
#include "plugin/tweak_saving.h"

#include "apply/apply_save.h"
#include "apply/undo_files.h"
#include "commands/choices_file.h"
#include "commands/profile_file.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "plugin/setting_notices.h"

namespace qzr {
namespace {

// A failed save may have changed part of what it meant to (a key made, the value refused).
class ForgetPanelCachesAtEnd {
 public:
  ~ForgetPanelCachesAtEnd() {
    PanelReads().Invalidate();
    PanelChoices().Invalidate();
  }
};

// The state the Save left, read back as the panel reads it (so nothing is created), as the
// user's choice. The setting has changed whatever happens here: a choice that cannot be read
// or recorded does not turn the Save into a failure.
void RecordChosenState(const TTWREC& tweak) {
  const std::string iniDir = State().IniDir;
  if (iniDir.empty()) return;
  try {
    const ProfileState chosen = ProfileStateOf(tweak, PanelReads().Read(tweak));
    RecordChoice(ChoicesPath(iniDir), ProfileEntry{tweak.TweakName, chosen});
  } catch (...) {
  }
  PanelChoices().Invalidate();
}

}  // namespace

void SaveTweakOfState(const TTWREC& tweak, int radioIndex, const std::string& typedValue, AdminImport* admin) {
  {
    ForgetPanelCachesAtEnd forget;
    SaveTweak(tweak, radioIndex, typedValue, State().OSIsNT, UndoFolder(State().IniDir), admin);
  }
  NoteSettingChanged(tweak);
  RecordChosenState(tweak);
}

bool RestoreDefaultOfState(const TTWREC& tweak, AdminImport* admin) {
  {
    ForgetPanelCachesAtEnd forget;
    if (!RestoreDefault(tweak, State().OSIsNT, UndoFolder(State().IniDir), admin)) return false;
  }
  NoteSettingChanged(tweak);
  RecordChosenState(tweak);
  return true;
}

void RecordImportedSave(const TTWREC& tweak) {
  PanelReads().Invalidate();
  RecordChosenState(tweak);
  NoteSettingChanged(tweak);
}

}  // namespace qzr
