// The scripted dialogs: they stand in for the module's windows (and for the empty ones of the
// builds without Windows, which this program's own definitions take the place of).
#include "exports/scripted_dialogs.h"

#include "ui/dialogs.h"
#include "texts/texts.h"
#include "platform/platform.h"

namespace qzr {
namespace {

void Press(const std::function<void()>& action) {
  if (auto error = RunDialogAction(action)) Os().ui->ShowMessage(*error, std::string(texts::kCaption));
}

}  // namespace

int ShowApplyDialog(const ApplyDialogState& state, ApplyDialogActions& actions, uint8_t& /*language*/,
                    const LanguageChosen& /*chosen*/) {
  test::DialogScript& script = test::Script();
  ++script.ApplyShown;
  if (script.RebuildPresses > 0) {
    --script.RebuildPresses;
    Press([&] { actions.Rebuild(); });
  }
  bool saved = false;
  Press([&] {
    actions.Save(state.RadioVisible ? 0 : -1, state.ValueVisible ? script.TypedValue : state.Value);
    saved = true;
  });
  return saved ? kModalOk : kModalCancel;
}

int ShowAboutDialog(uint8_t& /*language*/, const LanguageChosen& /*chosen*/) {
  ++test::Script().AboutShown;
  return kModalOk;
}

namespace test {

DialogScript& Script() {
  static DialogScript script;
  return script;
}

}  // namespace test
}  // namespace qzr
