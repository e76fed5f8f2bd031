// What one operation's changed settings send: each kind once, the parameters with the value the
// setting holds when the batch goes, and nothing for what needs nothing.
#include "apply/setting_notice_batch.h"

#include "support/kept_registry_value.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TTWREC Registry(uint8_t root, const std::string& path, const std::string& value) {
  TTWREC tweak;
  tweak.RootKey = root;
  tweak.Path = path;
  tweak.VarName = value;
  tweak.DataType = kDataString;
  tweak.DefValue = std::string("400");
  return tweak;
}

void PutText(const std::string& key, const std::string& name, const std::string& text) {
  RegHandle h = 0;
  ASSERT_EQ(Os().registry->CreateKey(kHkeyCurrentUser, key, win::kKeyAllAccess, &h), win::kSuccess);
  Os().registry->SetValue(h, name, win::kRegSz, reinterpret_cast<const uint8_t*>(text.c_str()),
                          static_cast<uint32_t>(text.size() + 1));
  Os().registry->CloseKey(h);
}

TEST(SettingNoticeBatchTest, EachKindIsSentOnceAndNothingForNothing) {
  const std::string advanced = R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)";
  const std::string personalize = R"(Software\Microsoft\Windows\CurrentVersion\Themes\Personalize)";
  TTWREC ini;
  ini.PlugType = kPlugIni;
  ini.Path = "app.ini";
  struct Case {
    const char* what;
    std::vector<TTWREC> changed;
    std::vector<std::string> sent;
  };
  std::vector<TTWREC> explorer;
  for (const char* value : {"HideFileExt", "Hidden", "ShowSuperHidden", "AutoCheckSelect", "LaunchTo", "ShowStatusBar",
                            "UseCompactMode", "Start_TrackProgs", "SnapAssist", "ShowSyncProviderNotifications"})
    explorer.push_back(Registry(kRootCurrentUser, advanced, value));
  const std::vector<Case> cases = {
      {"nothing changed", {}, {}},
      {"a file", {ini}, {}},
      {"ten Explorer settings", explorer, {"WM_SETTINGCHANGE", "SHCNE_ASSOCCHANGED"}},
      {"colors, the taskbar and policies of both roots",
       {Registry(kRootCurrentUser, personalize, "AppsUseLightTheme"),
        Registry(kRootCurrentUser, personalize, "SystemUsesLightTheme"),
        Registry(kRootCurrentUser, advanced, "TaskbarAl"),
        Registry(kRootLocalMachine, R"(SOFTWARE\Policies\Microsoft\Edge)", "HubsSidebarEnabled"),
        Registry(kRootCurrentUser, R"(Software\Policies\Microsoft\Windows\Explorer)", "DisableNotificationCenter")},
       {"WM_SETTINGCHANGE ImmersiveColorSet", "WM_SETTINGCHANGE TraySettings", "WM_SETTINGCHANGE Policy"}},
      {"the environment", {Registry(kRootCurrentUser, "Environment", "PATH")}, {"WM_SETTINGCHANGE Environment"}},
      {"the menu delay twice: the value it holds at the end",
       {Registry(kRootCurrentUser, R"(Control Panel\Desktop)", "MenuShowDelay"),
        Registry(kRootCurrentUser, R"(control panel\desktop)", "menushowdelay")},
       {"SPI 0x6B 150"}},
      {"pointer precision with the thresholds beside it",
       {Registry(kRootCurrentUser, R"(Control Panel\Mouse)", "MouseSpeed")},
       {"SPI 0x4 4,12,0"}},
  };
  KeptRegistryValue delay(R"(Control Panel\Desktop)", "MenuShowDelay");
  KeptRegistryValue speed(R"(Control Panel\Mouse)", "MouseSpeed");
  KeptRegistryValue threshold1(R"(Control Panel\Mouse)", "MouseThreshold1");
  KeptRegistryValue threshold2(R"(Control Panel\Mouse)", "MouseThreshold2");
  PutText(R"(Control Panel\Desktop)", "MenuShowDelay", "150");
  PutText(R"(Control Panel\Mouse)", "MouseSpeed", "0");
  PutText(R"(Control Panel\Mouse)", "MouseThreshold1", "4");
  PutText(R"(Control Panel\Mouse)", "MouseThreshold2", "12");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingUi ui;
    SettingNoticeBatch batch;
    for (const TTWREC& tweak : c.changed) batch.Add(tweak);
    EXPECT_EQ(batch.Empty(), c.sent.empty());
    batch.Send(ui);
    EXPECT_EQ(ui.notices, c.sent);
    batch.Send(ui);
    EXPECT_EQ(ui.notices, c.sent) << "sent once, then forgotten";
  }
}

}  // namespace
}  // namespace qzr::test
