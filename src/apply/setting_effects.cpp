// The table of what each setting needs sent and when it shows. Rows for a key prefix hold every
// value below it; a row that names a value overrides its key's row. Timings follow what each
// definition's comment says, with one change: a setting whose SystemParametersInfo action the
// row calls shows at once, where the registry value alone waits for the next sign-in.
#include "apply/setting_effects.h"

#include <iterator>

#include "texts/field_texts.h"
#include "util/text.h"

namespace qzr {
namespace {

using enum SettingArea;
using enum EffectTiming;
using enum ParameterPassing;

constexpr uint8_t kCU = kRootCurrentUser;
constexpr uint8_t kLM = kRootLocalMachine;

// SystemParametersInfo actions (winuser.h).
constexpr uint32_t kSpiSetMouse = 0x0004;
constexpr uint32_t kSpiSetKeyboardSpeed = 0x000B;
constexpr uint32_t kSpiSetKeyboardDelay = 0x0017;
constexpr uint32_t kSpiSetDoubleClickTime = 0x0020;
constexpr uint32_t kSpiSetMouseHoverTime = 0x0067;
constexpr uint32_t kSpiSetMenuShowDelay = 0x006B;

constexpr std::string_view kAdvanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
constexpr std::string_view kPolicies = R"(Software\Policies)";
constexpr std::string_view kShellPolicies = R"(Software\Microsoft\Windows\CurrentVersion\Policies)";

constexpr SettingEffect kTable[] = {
    // Explorer's view settings: its open windows refresh on the associations notice.
    {kCU, kAdvanced, "", kPlain, true, 0, kNoParameter, kAtOnce},
    {kCU, kAdvanced, "SeparateProcess", kNone, false, 0, kNoParameter, kExplorerRestart},
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer)", "ShowFrequent", kPlain, true, 0, kNoParameter, kAtOnce},
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer)", "ShowRecent", kPlain, true, 0, kNoParameter, kAtOnce},
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\CabinetState)", "", kPlain, true, 0, kNoParameter, kAtOnce},
    // The taskbar rereads its settings on "TraySettings".
    {kCU, kAdvanced, "TaskbarAl", kTraySettings, false, 0, kNoParameter, kAtOnce},
    {kCU, kAdvanced, "ShowTaskViewButton", kTraySettings, false, 0, kNoParameter, kAtOnce},
    {kCU, kAdvanced, "TaskbarGlomLevel", kTraySettings, false, 0, kNoParameter, kAtOnce},
    {kCU, kAdvanced, "ShowSecondsInSystemClock", kTraySettings, false, 0, kNoParameter, kAtOnce},
    {kCU, kAdvanced, "LastActiveClick", kTraySettings, false, 0, kNoParameter, kAtOnce},
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\TaskbarDeveloperSettings)", "", kTraySettings,
     false, 0, kNoParameter, kAtOnce},
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\Search)", "SearchboxTaskbarMode", kTraySettings, false, 0, kNoParameter,
     kAtOnce},
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\SearchSettings)", "", kPlain, false, 0, kNoParameter, kAtOnce},
    // Light and dark, accent color and transparency.
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\Themes\Personalize)", "", kImmersiveColorSet, false, 0, kNoParameter,
     kAtOnce},
    {kCU, R"(Software\Microsoft\Windows\DWM)", "", kImmersiveColorSet, false, 0, kNoParameter, kAtOnce},
    // Settings the system keeps in memory: the SystemParametersInfo call makes them true at once
    // (and broadcasts the change itself).
    {kCU, R"(Control Panel\Desktop)", "", kPlain, false, 0, kNoParameter, kSignOut},
    {kCU, R"(Control Panel\Desktop)", "MenuShowDelay", kNone, false, kSpiSetMenuShowDelay, kUiParam, kAtOnce},
    {kCU, R"(Control Panel\Mouse)", "", kPlain, false, 0, kNoParameter, kSignOut},
    {kCU, R"(Control Panel\Mouse)", "DoubleClickSpeed", kNone, false, kSpiSetDoubleClickTime, kUiParam, kAtOnce},
    {kCU, R"(Control Panel\Mouse)", "MouseHoverTime", kNone, false, kSpiSetMouseHoverTime, kUiParam, kAtOnce},
    {kCU, R"(Control Panel\Mouse)", "MouseSpeed", kNone, false, kSpiSetMouse, kMouseAcceleration, kAtOnce},
    {kCU, R"(Control Panel\Keyboard)", "", kPlain, false, 0, kNoParameter, kSignOut},
    {kCU, R"(Control Panel\Keyboard)", "KeyboardDelay", kNone, false, kSpiSetKeyboardDelay, kUiParam, kAtOnce},
    {kCU, R"(Control Panel\Keyboard)", "KeyboardSpeed", kNone, false, kSpiSetKeyboardSpeed, kUiParam, kAtOnce},
    {kCU, R"(Control Panel\Accessibility)", "", kPlain, false, 0, kNoParameter, kSignOut},
    {kCU, R"(Control Panel\International)", "", kIntl, false, 0, kNoParameter, kAtOnce},
    {kCU, "Environment", "", kEnvironment, false, 0, kNoParameter, kProgramRestart},
    {kLM, R"(SYSTEM\CurrentControlSet\Control\Session Manager\Environment)", "", kEnvironment, false, 0, kNoParameter,
     kProgramRestart},
    // The user's own privacy and system settings, read when used.
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\AdvertisingInfo)", "", kNone, false, 0, kNoParameter, kAtOnce},
    {kCU, R"(Software\Microsoft\Clipboard)", "", kPlain, false, 0, kNoParameter, kAtOnce},
    {kCU, "Console", "", kNone, false, 0, kNoParameter, kProgramRestart},
    // The machine's system settings: read at start-up.
    {kLM, R"(SYSTEM\CurrentControlSet)", "", kNone, false, 0, kNoParameter, kRestart},

    // Policies: a "Policy" broadcast tells the programs that watch for it; most are read at sign-in.
    {kCU, kPolicies, "", kPolicy, false, 0, kNoParameter, kSignOut},
    {kLM, kPolicies, "", kPolicy, false, 0, kNoParameter, kSignOut},
    {kCU, kShellPolicies, "", kPolicy, false, 0, kNoParameter, kSignOut},
    {kLM, kShellPolicies, "", kPolicy, false, 0, kNoParameter, kSignOut},
    {kCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)", "DisableThumbnails", kPolicy, false, 0,
     kNoParameter, kExplorerRestart},
    {kCU, R"(Software\Policies\Microsoft\Windows\Explorer)", "DisableSearchBoxSuggestions", kPolicy, false, 0, kNoParameter,
     kExplorerRestart},
    {kCU, R"(Software\Policies\Microsoft\Windows\Explorer)", "DisableThumbsDBOnNetworkFolders", kPolicy, false, 0,
     kNoParameter, kExplorerRestart},
    {kCU, R"(Software\Policies\Microsoft\Windows\CloudContent)", "DisableWindowsSpotlightOnSettings", kPolicy, false, 0,
     kNoParameter, kProgramRestart},
    {kCU, R"(Software\Policies\Microsoft\Windows\CloudContent)", "DisableWindowsSpotlightWindowsWelcomeExperience",
     kPolicy, false, 0, kNoParameter, kRestart},
    {kLM, R"(Software\Policies\Microsoft\Edge)", "", kPolicy, false, 0, kNoParameter, kProgramRestart},
    {kLM, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Paint)", "", kPolicy, false, 0, kNoParameter,
     kProgramRestart},
    {kLM, R"(Software\Policies\Microsoft\Dsh)", "", kPolicy, false, 0, kNoParameter, kExplorerRestart},
    {kLM, R"(Software\Policies\Microsoft\FindMyDevice)", "", kPolicy, false, 0, kNoParameter, kRestart},
    {kLM, R"(Software\Policies\Microsoft\Windows\CurrentVersion\PushNotifications)", "", kPolicy, false, 0, kNoParameter,
     kRestart},
    {kLM, R"(Software\Policies\Microsoft\Windows\DeliveryOptimization)", "", kPolicy, false, 0, kNoParameter, kAtOnce},
    {kLM, R"(Software\Policies\Microsoft\Windows\Windows Search)", "", kPolicy, false, 0, kNoParameter, kExplorerRestart},
    {kLM, R"(Software\Policies\Microsoft\Windows\Windows Search)", "AllowCortana", kPolicy, false, 0, kNoParameter, kSignOut},
    {kLM, R"(Software\Policies\Microsoft\Windows\WindowsAI)", "AllowRecallEnablement", kPolicy, false, 0, kNoParameter,
     kRestart},
    {kLM, R"(Software\Policies\Microsoft\Windows\WindowsAI)", "DisableAIDataAnalysis", kPolicy, false, 0, kNoParameter,
     kRestart},
    {kLM, R"(Software\Policies\Microsoft\Windows\WindowsAI)", "DisableSettingsAgent", kPolicy, false, 0, kNoParameter,
     kProgramRestart},
    {kLM, R"(Software\Policies\Microsoft\Windows\DataCollection)", "AllowTelemetry", kPolicy, false, 0, kNoParameter,
     kRestart},
    {kLM, R"(Software\Policies\Microsoft\Windows\DataCollection)", "DoNotShowFeedbackNotifications", kPolicy, false, 0,
     kNoParameter, kAtOnce},
    {kLM, R"(Software\Policies\Microsoft\Windows\Explorer)", "NoAutoplayfornonVolume", kPolicy, false, 0, kNoParameter,
     kAtOnce},
    {kLM, R"(Software\Policies\Microsoft\Windows\LocationAndSensors)", "", kPolicy, false, 0, kNoParameter, kRestart},
    // The lock screen's policies show at the next lock, the activity and clipboard ones when next used.
    {kLM, R"(Software\Policies\Microsoft\Windows\Personalization)", "", kPolicy, false, 0, kNoParameter, kAtOnce},
    {kLM, R"(Software\Policies\Microsoft\Windows\System)", "", kPolicy, false, 0, kNoParameter, kAtOnce},
    {kLM, R"(Software\Policies\Microsoft\Windows\WindowsUpdate)", "", kPolicy, false, 0, kNoParameter, kAtOnce},
};

constexpr SettingEffect kUnknownRegistry{kCU, "", "", kPlain, false, 0, kNoParameter, kSignOut};
constexpr SettingEffect kFile{kCU, "", "", kNone, false, 0, kNoParameter, kProgramRestart};

// The key itself or one below it.
bool HoldsKey(std::string_view prefix, std::string_view key) {
  if (key.size() < prefix.size() || !EqualsNoCaseAscii(key.substr(0, prefix.size()), prefix)) return false;
  return key.size() == prefix.size() || key[prefix.size()] == '\\';
}

}  // namespace

const SettingEffect* FindSettingEffect(const TTWREC& tweak) {
  if (tweak.PlugType != kPlugReg) return nullptr;
  const SettingEffect* best = nullptr;
  for (const SettingEffect& row : kTable) {
    if (row.RootKey != tweak.RootKey || !HoldsKey(row.KeyPrefix, tweak.Path)) continue;
    if (!row.ValueName.empty() && !EqualsNoCaseAscii(row.ValueName, tweak.VarName)) continue;
    if (!best || row.KeyPrefix.size() > best->KeyPrefix.size() ||
        (row.KeyPrefix.size() == best->KeyPrefix.size() && !row.ValueName.empty()))
      best = &row;
  }
  return best;
}

const SettingEffect& SettingEffectOf(const TTWREC& tweak) {
  if (tweak.PlugType != kPlugReg) return kFile;
  const SettingEffect* row = FindSettingEffect(tweak);
  return row ? *row : kUnknownRegistry;
}

std::string_view EffectTimingText(EffectTiming timing, uint8_t language) {
  switch (timing) {
    case kAtOnce: return texts::kTakesEffectAtOnce.Pick(language);
    case kProgramRestart: return texts::kTakesEffectProgramRestart.Pick(language);
    case kExplorerRestart: return texts::kTakesEffectExplorerRestart.Pick(language);
    case kSignOut: return texts::kTakesEffectSignOut.Pick(language);
    case kRestart: return texts::kTakesEffectRestart.Pick(language);
  }
  return {};
}

std::string_view SettingAreaText(SettingArea area) {
  switch (area) {
    case kEnvironment: return "Environment";
    case kImmersiveColorSet: return "ImmersiveColorSet";
    case kTraySettings: return "TraySettings";
    case kPolicy: return "Policy";
    case kIntl: return "intl";
    case kNone:
    case kPlain: break;
  }
  return {};
}

}  // namespace qzr
