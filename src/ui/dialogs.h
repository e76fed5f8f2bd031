// The two dialogs as the rest of the plugin sees them: what its buttons ask for, and the calls
// that show each dialog modally on the calling thread. The Windows module shows real windows
// (ui/win32/); other builds have no dialogs (see no_dialogs.cpp).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "apply/dialog_state.h"

namespace qzr {

// Modal results, as the dialogs end.
inline constexpr int kModalOk = 1;      // after Save, or OK in the about dialog
inline constexpr int kModalCancel = 2;  // Close, Escape, Enter (Close is the default button), close box

// What the apply dialog's buttons do. Either may raise (ShownError, or any std::exception): the
// dialog then shows the message in a message box and stays open.
class ApplyDialogActions {
 public:
  virtual ~ApplyDialogActions() = default;
  // Save: `radioIndex` is the selected item (0 on, 1 off; -1 when neither is), `typedValue` the
  // value box's text as UTF-8 (SystemApi::Utf8ToAnsi gives the system's bytes). When it returns,
  // the dialog closes with kModalOk.
  virtual void Save(int radioIndex, const std::string& typedValue) = 0;
  // The rebuild button on the about page; the dialog stays open either way.
  virtual void Rebuild() = 0;
};

// Runs after a flag button has set the interface language, while the dialog stays open: the
// plugin keeps the choice in its settings file at once. May raise like the buttons' actions.
using LanguageChosen = std::function<void()>;

// Shows the apply dialog modally (no owner, centred on the screen) and returns its modal result.
// Its texts follow `language`, the interface language, which its flag buttons change at once
// (so a rebuild started from the dialog speaks the language chosen).
int ShowApplyDialog(const ApplyDialogState& state, ApplyDialogActions& actions, uint8_t& language,
                    const LanguageChosen& chosen = {});

// Shows the about dialog modally, in `language`, which its flag buttons change; returns
// kModalOk (OK) or kModalCancel (close box).
int ShowAboutDialog(uint8_t& language, const LanguageChosen& chosen = {});

// Runs what a dialog button asks for. Returns the message to show when it raised, nothing when it
// went through: the dialog's message handling, which keeps the dialog open after an error.
std::optional<std::string> RunDialogAction(const std::function<void()>& action);

}  // namespace qzr
