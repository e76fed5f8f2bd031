// What the settings changed during one operation need sent, gathered so that each kind goes once
// however many tweaks changed: one broadcast per area text, one associations notice, one
// SystemParametersInfo call per action with the value its setting holds when the batch is sent.
#pragma once
#include <cstdint>
#include <map>
#include <set>

#include "apply/setting_effects.h"
#include "definitions/tweak_record.h"
#include "platform/ui_api.h"

namespace qzr {

class SettingNoticeBatch {
 public:
  // The tweak's setting changed: what its row of the table asks for is added.
  void Add(const TTWREC& tweak);
  bool Empty() const { return areas_.empty() && !associations_ && parameters_.empty(); }
  // Sends everything gathered through `ui`, then forgets it. The parameters first (each call
  // broadcasts its own change), then the broadcasts, then the associations notice. A value that
  // is no number is not sent; nothing here raises for what the system refuses.
  void Send(UiApi& ui);

 private:
  std::set<SettingArea> areas_;
  bool associations_ = false;
  std::map<uint32_t, TTWREC> parameters_;  // by action: the last tweak that changed it
};

}  // namespace qzr
