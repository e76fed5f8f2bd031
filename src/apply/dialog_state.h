// What the apply dialog shows when it opens: made from a tweak's live state (tweak_state.h),
// shown by the dialog (ui/dialogs.h).
#pragma once
#include <string>

namespace qzr {

// Texts are UTF-8: text from a definition is ANSI bytes and is turned into UTF-8 with
// SystemApi::AnsiToUtf8 first.
struct ApplyDialogState {
  std::string Memo;           // Memo1: the tweak's name
  bool RadioVisible = false;  // the Yes/No group (tweaks not typed by hand)
  bool ValueVisible = false;  // the value box (tweaks typed by hand)
  int RadioIndex = 0;         // 0 Yes (on), 1 No (off)
  std::string Value;          // the value box, pre-filled with the current value
  std::string DefVal;         // the read-only default
};

}  // namespace qzr
