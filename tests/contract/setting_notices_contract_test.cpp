// Telling the system that a setting changed, held to what Windows does: a window of the program
// receives the broadcast with its area text, and a setting saved by a tweak and sent with its
// SystemParametersInfo action reads back as saved (Wine keeps these values per process: the SET
// call is what makes it true). Natively the substitute's record answers the same.
#include "apply/apply_save.h"
#include "apply/setting_notice_batch.h"
#include "support/delegating_platform.h"
#ifndef _WIN32
#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#endif
#include "support/failing_platform.h"
#include "support/kept_registry_value.h"
#include "support/setting_change_listener.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TEST(SettingNoticesContract, AWindowReceivesTheBroadcastWithItsText) {
  SettingChangeListener listener;
  if (!listener.Listening()) GTEST_SKIP() << "no top-level window without an X server";
  DelegatingUi delegating;
  FailingPlatform failing;
  for (UiApi* ui : {static_cast<UiApi*>(&delegating), Os().ui}) {
    ui->BroadcastSettingChange("Policy");
    ui->BroadcastSettingChange("ImmersiveColorSet");
    ui->BroadcastSettingChange("");
    EXPECT_EQ(listener.Received(), (std::vector<std::string>{"Policy", "ImmersiveColorSet", ""}));
    ui->NotifyAssociationsChanged();
    EXPECT_TRUE(listener.Received().empty()) << "the associations notice is no broadcast";
  }
  EXPECT_EQ(failing.Calls(), 4) << "the failing platform passes each call through";
}

TEST(SettingNoticesContract, ASavedSettingReadsBackThroughSystemParametersInfo) {
  struct Case {
    const char* key;
    const char* value;
    uint32_t getAction;
    const char* typed;
  };
  const Case cases[] = {
      {"Control Panel\\Desktop", "MenuShowDelay", 0x006A, "123"},    // SPI_GETMENUSHOWDELAY
      {"Control Panel\\Mouse", "MouseHoverTime", 0x0066, "321"},     // SPI_GETMOUSEHOVERTIME
      {"Control Panel\\Keyboard", "KeyboardDelay", 0x0016, "2"},     // SPI_GETKEYBOARDDELAY
  };
  TempFolder undo;
  FailingPlatform failing;  // the calls go through the test platforms' wrappers
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    KeptRegistryValue kept(c.key, c.value);
    const uint32_t before = SystemParameterNow(c.getAction);
    TTWREC tweak;
    tweak.TweakName = c.value;
    tweak.RootKey = kRootCurrentUser;
    tweak.Path = c.key;
    tweak.VarName = c.value;
    tweak.DataType = kDataString;
    tweak.ByHands = true;
    tweak.DefValue = std::string("1");
    SaveTweak(tweak, 0, c.typed, true, undo.dir());
    SettingNoticeBatch batch;
    batch.Add(tweak);
    batch.Send(*Os().ui);
    EXPECT_EQ(SystemParameterNow(c.getAction), std::stoul(c.typed));
    Os().ui->SetSystemParameter(c.getAction + 1, before, {});
  }
  EXPECT_EQ(failing.FiredIn(), "");
}

#ifndef _WIN32
// Only the substitute: under Wine this would end the Explorer that is Wine's desktop.
TEST(SettingNoticesContract, ARestartOfExplorerGoesThroughTheTestPlatformsAndFailsAsInjected) {
  posix::ScopedFaults faults;
  DelegatingUi delegating;
  FailingPlatform failing;
  posix::Ui::TakeSettingNotices();
  EXPECT_EQ(delegating.RestartExplorer(), 0);
  EXPECT_EQ(Os().ui->RestartExplorer(), 0);
  posix::Faults::Fail("RestartExplorer", 1460);  // ERROR_TIMEOUT
  EXPECT_EQ(Os().ui->RestartExplorer(), 1460);
  EXPECT_EQ(posix::Ui::TakeSettingNotices(), (std::vector<std::string>{"restart Explorer", "restart Explorer"}));
  EXPECT_EQ(failing.Calls(), 2);
}
#endif

}  // namespace
}  // namespace qzr::test
