// The command line on the module's state.
#include "plugin/command_line.h"

#include <mutex>

#include "apply/admin_import.h"
#include "commands/choices_file.h"
#include "commands/command_run.h"
#include "platform/platform.h"
#include "plugin/admin_saves.h"
#include "plugin/host_window.h"
#include "plugin/lifecycle.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "plugin/setting_notices.h"
#include "plugin/tweak_saving.h"
#include "texts/texts.h"

namespace qzr {
namespace {

// The dialog's Save and going back to the default, each recorded as the user's choice and
// forgetting the panel's reads; states read as the panel's columns read them. Changes refused for
// lack of rights wait for the command's end, to be asked about once.
class StateActions final : public CommandActions {
 public:
  explicit StateActions(std::string iniDir) : iniDir_(std::move(iniDir)) {}
  void Save(const TTWREC& tweak, int radioIndex, const std::string& typedValue) override {
    SaveTweakOfState(tweak, radioIndex, typedValue, &admin_);
  }
  bool RestoreDefault(const TTWREC& tweak) override { return RestoreDefaultOfState(tweak, &admin_); }
  std::vector<ImportOutcome> FinishPutOff() override { return FinishAdminImport(admin_); }
  CurrentValue Read(const TTWREC& tweak) override { return PanelReads().Read(tweak); }
  std::vector<ProfileEntry> Choices() override { return PanelChoices().All(ChoicesPath(iniDir_)); }

 private:
  std::string iniDir_;
  AdminImport admin_;
};

}  // namespace

void RunCommandLineOfState(const std::string& line) {
  CommandSetting setting;
  setting.Tweaks = ListedTweaks();
  {
    std::lock_guard lock(ListingLock());
    setting.IniDir = State().IniDir;
  }
  setting.Language = InterfaceLanguage();
  // A command is a fresh look, as a listing is: what changed behind the plugin's back since the
  // panel last read it (Windows turning a choice back) counts.
  PanelReads().Invalidate();
  PanelChoices().Invalidate();
  StateActions actions(setting.IniDir);
  const CommandOutcome outcome = RunCommandLine(line, setting, actions);
  if (outcome.Changed) RereadHostPanel();
  SendSettingNotices();
  Os().ui->ShowMessage(outcome.Summary, std::string(texts::kCaption));
}

}  // namespace qzr
