// The settings changed during an operation, and what they need sent at its end.
#include "plugin/setting_notices.h"

namespace qzr {

void NoteSettingChanged(const TTWREC& /*tweak*/) {}

void SendSettingNotices() {}

}  // namespace qzr
