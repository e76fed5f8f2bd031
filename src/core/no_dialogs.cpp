// Builds without Windows have no dialogs and no icon resources: a Linux host gives a plain
// library no window system to draw with. Showing a dialog shows nothing and counts as closing it.
#ifndef _WIN32
#include "core/dialogs.h"

namespace qzr {

int ShowApplyDialog(const ApplyDialogState&, ApplyDialogActions&) { return kModalCancel; }

int ShowAboutDialog() { return kModalCancel; }

void* SharedModuleIcon(const char*) { return nullptr; }

}  // namespace qzr
#endif
