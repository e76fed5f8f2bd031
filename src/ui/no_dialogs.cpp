// Builds without Windows have no dialogs: a Linux host gives a plain library no window system
// to draw with. Showing a dialog shows nothing and counts as closing it.
#ifndef _WIN32
#include "ui/dialogs.h"

namespace qzr {

int ShowApplyDialog(const ApplyDialogState&, ApplyDialogActions&, uint8_t&, const LanguageChosen&) {
  return kModalCancel;
}

int ShowAboutDialog(uint8_t&, const LanguageChosen&) { return kModalCancel; }

}  // namespace qzr
#endif
