// What a changed setting needs to reach the running system, and when it takes effect: one table
// (setting_effects.cpp) from a registry key prefix and value name to the message to broadcast, the
// shell notice, the SystemParametersInfo action, and the moment the change shows. Adding a tweak
// never needs code: a row, or the row of its key already there.
#pragma once
#include <cstdint>
#include <string_view>

#include "definitions/tweak_record.h"

namespace qzr {

// The text a WM_SETTINGCHANGE broadcast carries; kPlain carries none (lParam 0).
enum class SettingArea : uint8_t { kNone, kPlain, kEnvironment, kImmersiveColorSet, kTraySettings, kPolicy, kIntl };

// How the saved number goes to SystemParametersInfoW.
enum class ParameterPassing : uint8_t {
  kNoParameter,
  kUiParam,            // uiParam = the number, pvParam null (delays, times, keyboard speed)
  kMouseAcceleration,  // pvParam = {threshold 1, threshold 2, the number} (SPI_SETMOUSE)
};

// When a change shows, after what the table sends.
enum class EffectTiming : uint8_t { kAtOnce, kProgramRestart, kExplorerRestart, kSignOut, kRestart };

struct SettingEffect {
  uint8_t RootKey = kRootCurrentUser;
  std::string_view KeyPrefix;  // a whole key or the keys below it, any letter case
  std::string_view ValueName;  // empty: any value below the prefix
  SettingArea Area = SettingArea::kNone;
  bool AssociationsChanged = false;  // SHChangeNotify(SHCNE_ASSOCCHANGED): Explorer's views
  uint32_t ParameterAction = 0;      // an SPI_SET... action, or 0
  ParameterPassing Passing = ParameterPassing::kNoParameter;
  EffectTiming Timing = EffectTiming::kSignOut;
};

// The table's row for a registry tweak: the longest prefix that holds the tweak's key, a row
// naming its value before one for any value. Null when no row holds it.
const SettingEffect* FindSettingEffect(const TTWREC& tweak);
// The row, or the one for what the table does not know: INI and CFG files need nothing sent and
// show when their program starts again; an unknown registry setting gets a plain broadcast and is
// taken to show after the next sign-in.
const SettingEffect& SettingEffectOf(const TTWREC& tweak);

// The Takes effect column's text (UTF-8): "at once", "Explorer restart", ...
std::string_view EffectTimingText(EffectTiming timing, uint8_t language);
// The area's text as WM_SETTINGCHANGE carries it; empty for kNone and kPlain.
std::string_view SettingAreaText(SettingArea area);

}  // namespace qzr
