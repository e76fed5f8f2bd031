// Verb dispatch and the opening of a tweak.
#include "plugin/execute.h"

#include <algorithm>
#include <string_view>

#include "apply/admin_import.h"
#include "apply/tweak_state.h"
#include "base/errors.h"
#include "platform/platform.h"
#include "plugin/admin_saves.h"
#include "plugin/command_line.h"
#include "plugin/host_window.h"
#include "plugin/lifecycle.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "plugin/setting_notices.h"
#include "plugin/state_calls.h"
#include "plugin/tweak_saving.h"
#include "texts/texts.h"
#include "ui/dialogs.h"
#include "util/text.h"

namespace qzr {
namespace {

// The apply dialog's buttons, on the tweak the dialog shows. A change refused for lack of rights
// is asked about at once: the Save is the whole operation.
class TweakActions final : public ApplyDialogActions {
 public:
  void Save(int radioIndex, const std::string& typedValue) override {
    const TTWREC* tweak = TweakAt(State().CurrentTweak);
    if (!tweak) return;
    AdminImport admin;
    try {
      SaveTweakOfState(*tweak, radioIndex, Os().system->Utf8ToAnsi(typedValue), &admin);
    } catch (const PutOffForRights& refusal) {
      const std::vector<ImportOutcome> outcomes = FinishAdminImport(admin);
      if (outcomes.empty()) throw ShownError(refusal.what());
      if (!outcomes.front().Applied) throw ShownError(outcomes.front().Reason);
    }
    SendSettingNotices();
  }
  void Rebuild() override { RebuildBase(); }
};

}  // namespace

void OpenTweak(const std::string& fileName) {
  int32_t index = TweakIndexOf(fileName);
  const TTWREC* tweak = TweakAt(index);
  if (!tweak) return;
  State().CurrentTweak = index;
  ApplyDialogState state;
  try {
    state = MakeApplyDialogState(*tweak, ReadCurrentValue(*tweak), State().Language);
  } catch (const ShownError& e) {
    // A CFG file that cannot be created: the user learns why nothing opens.
    Os().ui->ShowMessage(e.what(), std::string(texts::kCaption));
    return;
  }
  TweakActions actions;
  // The dialog closes with kModalOk after a Save only: the panel then shows the new state.
  // The dialogs show a copy of the language: the state's byte is written only through
  // ChooseLanguage, under the lock the panel's columns read it with.
  uint8_t language = InterfaceLanguage();
  if (ShowApplyDialog(state, actions, language, [&] { ChooseLanguage(language); }) == kModalOk) RereadHostPanel();
}

void ExecuteFile(const std::string& remoteName, const std::string& verb) {
  // The host's command line, in the folder the host names (this plugin has only the one).
  constexpr std::string_view kQuote = "quote";
  if (verb.size() >= kQuote.size() && EqualsNoCaseAscii(std::string_view(verb).substr(0, kQuote.size()), kQuote) &&
      (verb.size() == kQuote.size() || verb[kQuote.size()] == ' ')) {
    RunCommandLineOfState(verb.substr(std::min(verb.size(), kQuote.size() + 1)));
    return;
  }
  if (verb == "properties" && remoteName == std::string(1, kPathDelim)) {
    uint8_t language = InterfaceLanguage();
    ShowAboutDialog(language, [&] { ChooseLanguage(language); });
    return;
  }
  std::string name = FileNamePart(remoteName);
  if (verb == "open" && !name.empty()) OpenTweak(name);
}

}  // namespace qzr
