// The settings folder FsSetDefaultParams leads to, as the hosts call it: a table of the choice
// (the suggested folder there or not, COMMANDER_INI unset, set, or pointing nowhere, the module's
// folder); a folder named in Chinese and Cyrillic, which the ANSI entry point can only pass with
// "?", where the listing, a Save's undo file and choice, qzrtc.ini and a profile the command line
// saves all land; and a report copied out through the narrow call to a target named in Cyrillic.
#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

#include <optional>

#include "apply/undo_files.h"
#include "base/path_text.h"
#include "commands/choices_file.h"
#include "exports/host_calls.h"
#include "plugin/execute.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "stores/vesk_registry.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "texts/texts.h"
#include "util/utf16.h"

namespace qzr::test {
namespace {

const std::string kDelim(1, kPathDelim);

// Read, written and looked at through the seam: the test's own helpers take 8-bit paths.
std::string SeamRead(const std::string& path) {
  std::string bytes;
  EXPECT_EQ(Os().files->ReadWhole(path, &bytes), win::kSuccess) << path;
  return bytes;
}
bool SeamExists(const std::string& path) { return Os().files->GetAttributes(path) != win::kInvalidAttributes; }

class SettingsFolderTest : public PluginTest {
 protected:
  SettingsFolderTest() {
    Os().files->MakeDirectory(folder_.path("module"));
    Os().files->MakeDirectory(Module() + "plugins");
    WriteBytes(Module() + "plugins" + kDelim + "a.tweak",
               "TWEAKNAME> PathsSwitch\r\nROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Paths") +
                   "\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    Start();
  }
  void Start() {
    ResetState();
    Startup();
    State().ModuleDir = Module();
  }
  std::string Module() const { return folder_.path("module") + kDelim; }
  // COMMANDER_INI as Total Commander sets it: wide, so it may name any folder.
  static void SetCommanderIni(const std::optional<std::string>& utf8) {
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(utf8.value_or(""));
    SetEnvironmentVariableW(L"COMMANDER_INI", utf8 ? reinterpret_cast<const wchar_t*>(wide.c_str()) : nullptr);
#else
    if (utf8)
      setenv("COMMANDER_INI", utf8->c_str(), 1);
    else
      unsetenv("COMMANDER_INI");
#endif
  }

  TempFolder folder_;
  ScopedEnv commanderIni_{"COMMANDER_INI", nullptr};
  ScratchKey scratch_;
};

TEST_F(SettingsFolderTest, TheFolderTheHostReallyUses) {
  const std::string given = folder_.path("given") + kDelim, hosts = folder_.path("host") + kDelim,
                    gone = folder_.path("gone") + kDelim, lost = folder_.path("lost ?? name") + kDelim,
                    nowhere = folder_.path("nowhere") + kDelim + "wincmd.ini";
  Os().files->MakeDirectory(folder_.path("given"));
  Os().files->MakeDirectory(folder_.path("host"));
  struct Case {
    const char* name;
    std::string suggested;
    std::optional<std::string> commanderIni;
    std::string iniDir;
    bool built;  // the folder can be written: listing builds the database there
  } cases[] = {
      {"suggested folder there", given + "fsplugin.ini", std::nullopt, given, true},
      {"there, the variable elsewhere", given + "fsplugin.ini", hosts + "wincmd.ini", given, true},
      {"missing, no variable", gone + "fsplugin.ini", std::nullopt, gone, false},
      {"missing, the variable's folder there", gone + "fsplugin.ini", hosts + "wincmd.ini", hosts, true},
      {"missing, the variable pointing nowhere", gone + "fsplugin.ini", nowhere, gone, false},
      {"missing, the variable empty", gone + "fsplugin.ini", "", gone, false},
      {"characters lost, no variable", lost + "fsplugin.ini", std::nullopt, Module(), true},
      {"characters lost, the variable pointing nowhere", lost + "fsplugin.ini", nowhere, Module(), true},
      {"characters lost, the variable's folder there", lost + "fsplugin.ini", hosts + "wincmd.ini", hosts, true},
      {"no folder at all", "fsplugin.ini", hosts + "wincmd.ini", Module(), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    ui_.messages.clear();
    SetCommanderIni(c.commanderIni);
    HostConfigure(c.suggested);
    EXPECT_EQ(State().IniDir, c.iniDir);
    HostList();
    EXPECT_EQ(SeamExists(c.iniDir + "qzr_plugins"), c.built);
    // A folder that cannot be written is named when the language is read and when the listing
    // would be built in it.
    EXPECT_EQ(ui_.messages.size(), c.built ? 0u : 2u);
  }
}

// The ANSI form of a folder in Chinese and Cyrillic is "?" for each character on a Western
// Windows (on POSIX it is the folder itself): the real one comes from COMMANDER_INI.
TEST_F(SettingsFolderTest, AFolderTheAnsiNameCannotSpell) {
  const std::string real = folder_.path("设置 Настройки") + kDelim;
  ASSERT_TRUE(Os().files->MakeDirectory(folder_.path("设置 Настройки")));
  ASSERT_EQ(Os().files->WriteWhole(real + "qzrtc.ini", "[main]\r\nlang=1\r\n"), win::kSuccess);
  SetCommanderIni(real + "wincmd.ini");
  HostConfigure(AnsiOfPath(real + "fsplugin.ini"));
  EXPECT_EQ(State().IniDir, real);
  EXPECT_EQ(InterfaceLanguage(), kRussian) << "qzrtc.ini is read there";
  EXPECT_EQ(HostList().size(), 1u);
  EXPECT_TRUE(SeamExists(real + "qzr_plugins" + kDelim + "a.tweak"));

  // The command line's Save, sent as UTF-8: its undo file and the choice go to the same folder,
  // and so does a profile named in Chinese, relative to it.
  ExecuteFile(kDelim, "quote on PathsSwitch");
  TVeskRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(ScratchKey::Path("Paths")));
  EXPECT_EQ(reg.ReadInteger("Flag"), 1);
  EXPECT_EQ(Os().files->FindFiles(UndoFolder(real) + "*.reg").size(), 1u);
  EXPECT_NE(SeamRead(UndoFolder(real) + "descript.ion").find("PathsSwitch"), std::string::npos);
  EXPECT_NE(SeamRead(ChoicesPath(real)).find("\"PathsSwitch\" = on"), std::string::npos);
  ExecuteFile(kDelim, "quote save \"配置 профиль.txt\"");
  EXPECT_NE(SeamRead(real + "配置 профиль.txt").find("\"PathsSwitch\" = on"), std::string::npos);
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_NE(ui_.messages[1].find(real + "配置 профиль.txt"), std::string::npos) << ui_.messages[1];

  ChooseLanguage(kEnglish);
  EXPECT_EQ(SeamRead(real + "qzrtc.ini"), "[main]\r\nlang=0\r\n") << "and written there";
}

// A target the host passes in its ANSI code page: with a Cyrillic one (Wine under a Russian
// locale) the narrow call reaches a folder and file named in Cyrillic.
TEST_F(SettingsFolderTest, AReportCopiedOutToACyrillicTarget) {
  const std::string target = folder_.path("Отчёты") + kDelim + "отчёт.txt";
  const std::optional<std::string> narrow = ExactAnsi(target);
  if (!narrow) GTEST_SKIP() << "the ANSI code page has no Cyrillic";
  ASSERT_TRUE(Os().files->MakeDirectory(folder_.path("Отчёты")));
  HostConfigure(Module() + "fsplugin.ini");
  ASSERT_EQ(HostList().size(), 1u);
  EXPECT_EQ(HostGetFile("PathsSwitch.", *narrow), 0);
  EXPECT_NE(SeamRead(target).find("PathsSwitch"), std::string::npos);
}

}  // namespace
}  // namespace qzr::test
