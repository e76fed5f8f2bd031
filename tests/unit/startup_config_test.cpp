// Start-up, the configuring calls and shut-down: IniDir, the language in qzrtc.ini
// and the write-access message.
#include "plugin/config.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "base/write_access.h"
#include "support/test_support.h"

#include <filesystem>
#include <thread>

namespace qzr::test {
namespace {

class StartupConfigTest : public PluginTest {
 protected:
  std::string Ini() const { return folder_.path("qzrtc.ini"); }
  // Loads the module with a settings file holding `content` (none when empty) and configures it.
  void Configure(const std::string& content) {
    if (!content.empty()) WriteBytes(Ini(), content);
    Startup();
    SetDefaultParams(folder_.path("wfx.ini"));
  }
  TempFolder folder_;
};

TEST_F(StartupConfigTest, StartupKnowsTheFamilyAndModuleFolder) {
  Startup();
  EXPECT_TRUE(State().OSIsNT);
  ASSERT_FALSE(State().ModuleDir.empty());
  EXPECT_EQ(State().ModuleDir.back(), kPathDelim);
  EXPECT_TRUE(State().IniDir.empty()) << "nothing is configured before FsSetDefaultParams";
}

TEST_F(StartupConfigTest, IniDirIsTheFolderOfTheSuggestedFile) {
  Startup();
  SetDefaultParams(folder_.path("wfx.ini"));
  EXPECT_EQ(State().IniDir, folder_.dir());
#ifdef _WIN32
  SetDefaultParams("Q:wfx.ini");
  EXPECT_EQ(State().IniDir, "Q:") << "a colon ends the folder too";
#endif
}

TEST_F(StartupConfigTest, NameWithoutFolderFallsBackToModuleFolder) {
  Startup();
  SetDefaultParams("wfx.ini");
  EXPECT_EQ(State().IniDir, State().ModuleDir);
}

TEST_F(StartupConfigTest, LanguageValuesAsStored) {
  struct Case {
    const char* content;
    uint8_t language;
  } cases[] = {
      {"[main]\r\nlang=1\r\n", 1},  {"[main]\r\nlang=257\r\n", 1}, {"[main]\r\nlang=abc\r\n", 0},
      {"[main]\r\nlang=0x1\r\n", 1}, {"[main]\r\nlang=$1\r\n", 1},  {"[main]\r\nlang=2\r\n", 2},
      {"[MAIN]\r\nLANG=1\r\n", 1},  {"[other]\r\nlang=1\r\n", 0},  {"[main]\r\nlang=-1\r\n", 255},
  };
  for (const Case& c : cases) {
    ResetState();
    Configure(c.content);
    EXPECT_EQ(State().Language, c.language) << c.content;
  }
}

TEST_F(StartupConfigTest, MissingFileIsEnglishAndIsCreatedAtUnload) {
  Configure("");
  EXPECT_EQ(State().Language, kEnglish);
  EXPECT_FALSE(Exists(Ini()));
  Shutdown();
  EXPECT_EQ(ReadBytes(Ini()), "[main]\r\nlang=0\r\n");
  EXPECT_TRUE(State().IniDir.empty());
  EXPECT_TRUE(State().ModuleDir.empty());
}

TEST_F(StartupConfigTest, UnloadWritesTheLanguageAsDecimalAndKeepsTheRest) {
  Configure("[other]\r\nkeep=me\r\n[main]\r\nlang=257\r\nmore=1\r\n");
  EXPECT_EQ(State().Language, kRussian);
  Shutdown();
  std::string after = ReadBytes(Ini());
  EXPECT_NE(after.find("lang=1\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find("[other]\r\nkeep=me\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find("more=1"), std::string::npos) << after;
  EXPECT_EQ(after.find("257"), std::string::npos) << after;
}

TEST_F(StartupConfigTest, LanguageChangedWhileLoadedIsSaved) {
  Configure("[main]\r\nlang=2\r\n");
  EXPECT_EQ(State().Language, 2);
  State().Language = kRussian;
  Shutdown();
  EXPECT_NE(ReadBytes(Ini()).find("lang=1\r\n"), std::string::npos);
}

TEST_F(StartupConfigTest, OtherLanguageValueIsWrittenBackUnchanged) {
  Configure("[main]\r\nlang=2\r\n");
  Shutdown();
  EXPECT_NE(ReadBytes(Ini()).find("lang=2\r\n"), std::string::npos);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(StartupConfigTest, UnwritableSettingsFolderShowsTheMessageAndSavesNothing) {
  // A file where the folder should be: no probe can be created below it, even as root.
  WriteBytes(folder_.path("blocker"), "not a folder");
  std::string iniName = folder_.path("blocker") + kPathDelim + "wfx.ini";
  Startup();
  SetDefaultParams(iniName);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0], "QZR_TC: I must have write access to " + folder_.path("blocker") + kPathDelim);
  EXPECT_EQ(State().Language, kEnglish);
  Shutdown();
  EXPECT_EQ(ui_.messages.size(), 1u) << "shut-down shows nothing: it runs while the module unloads";
  EXPECT_EQ(ReadBytes(folder_.path("blocker")), "not a folder");
}

// A flag button's choice reaches qzrtc.ini at once, not only at a clean unload.
TEST_F(StartupConfigTest, ChosenLanguageIsKeptAtOnce) {
  struct Case {
    const char* name;
    std::string iniName;  // "" = never configured
    std::string ini;      // the file that must hold lang=1 afterwards ("" = none may exist)
    size_t messages;
  } cases[] = {
      {"configured", folder_.path("wfx.ini"), Ini(), 0},
      {"never configured", "", "", 0},
      {"settings folder missing", folder_.path("gone") + kPathDelim + "wfx.ini", "", 2},
  };
  for (const Case& c : cases) {
    ResetState();
    ui_.messages.clear();
    std::filesystem::remove(Ini());
    Startup();
    if (!c.iniName.empty()) SetDefaultParams(c.iniName);
    ChooseLanguage(kRussian);
    EXPECT_EQ(InterfaceLanguage(), kRussian) << c.name;
    if (c.ini.empty()) {
      EXPECT_FALSE(Exists(Ini())) << c.name;
    } else {
      EXPECT_EQ(ReadBytes(c.ini), "[main]\r\nlang=1\r\n") << c.name;
    }
    EXPECT_EQ(ui_.messages.size(), c.messages) << c.name << ": the folder is named when read and when chosen";
  }
}

// Whatever calls it, shut-down runs once per start-up, and start-up once however many threads
// reach the module first.
TEST_F(StartupConfigTest, StartupAndShutdownRunOnce) {
  std::vector<std::thread> hosts;
  for (int i = 0; i < 4; ++i) hosts.emplace_back([] { EnsureStarted(); });
  for (std::thread& t : hosts) t.join();
  ASSERT_TRUE(State().Started);
  std::shared_ptr<TXARC> listing = State().XArc;
  EnsureStarted();
  EXPECT_EQ(State().XArc, listing) << "a started module is not started again";
  SetDefaultParams(folder_.path("wfx.ini"));
  Shutdown();
  ASSERT_TRUE(Exists(Ini()));
  std::filesystem::remove(Ini());
  Shutdown();
  EXPECT_FALSE(Exists(Ini())) << "a second shut-down writes nothing";
  ResetState();
  Shutdown();
  EXPECT_TRUE(ui_.messages.empty()) << "a module never started shuts down quietly";
}

TEST_F(StartupConfigTest, NeverConfiguredUnloadWritesNothing) {
  Startup();
  Shutdown();
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(StartupConfigTest, WriteTestLeavesNoFileBehind) {
  EXPECT_TRUE(HasWriteAccess(folder_.dir()));
  std::string noDelimiter = folder_.dir().substr(0, folder_.dir().size() - 1);
  EXPECT_TRUE(HasWriteAccess(noDelimiter));
  EXPECT_TRUE(ListFolder(folder_.dir()).empty());
  EXPECT_FALSE(HasWriteAccess(folder_.path("missing")));
  WriteBytes(folder_.path("file"), "x");
  EXPECT_FALSE(HasWriteAccess(folder_.path("file")));
  EXPECT_EQ(ListFolder(folder_.dir()), std::vector<std::string>{"file"});
}

}  // namespace
}  // namespace qzr::test
