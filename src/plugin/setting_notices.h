// Telling Windows that a setting changed: every Save that went through notes its tweak, and the
// end of the user's operation (a Save in the dialog, a change of attributes, one command of the
// command line) sends what the noted settings need, each kind once.
#pragma once
#include "definitions/tweak_record.h"

namespace qzr {

// A Save (or an import as administrator) changed this tweak's setting.
void NoteSettingChanged(const TTWREC& tweak);
// At the end of an operation: sends what the settings noted since the last call need, then
// forgets them.
void SendSettingNotices();

}  // namespace qzr
