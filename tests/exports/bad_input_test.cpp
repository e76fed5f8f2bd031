// Bad input through the entry points, each with its outcome: definitions that are garbage, hold
// zero bytes, a 1 MiB line, a Ctrl-Z inside a line, "%" references that never resolve; names the
// listing does not hold; report targets and user files that cannot be written. Nothing crashes,
// and no file of the user's is cut short.
#include <filesystem>

#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "exports/host_calls.h"
#include "exports/scripted_dialogs.h"
#include "interface/exports.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "stores/vesk_registry.h"

#ifndef _WIN32
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const std::string kDelim(1, kPathDelim);

class BadInputTest : public PluginTest {
 protected:
  BadInputTest() {
    fs::create_directories(fs::path(Module() + "plugins"));
    fs::create_directories(fs::path(User()));
    Startup();
    State().ModuleDir = Module();
    HostConfigure(Module() + "wfx.ini");
    Script() = DialogScript{};
  }

  std::string Module() const { return folder_.path("module") + kDelim; }
  std::string User() const { return folder_.path("user") + kDelim; }
  std::string Trash(const std::string& name) const { return Module() + "~trash" + kDelim + name; }
  void Definition(const std::string& name, const std::string& bytes) {
    WriteBytes(Module() + "plugins" + kDelim + name, bytes);
  }
  // A registry switch below the scratch key, named and keyed as asked.
  static std::string Switch(const std::string& nameLine, const std::string& key, const std::string& extra = "") {
    return nameLine + "\r\nROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path(key) +
           "\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\n" + extra;
  }
  static int32_t Flag(const std::string& key) {
    TVeskRegistry reg;
    if (!reg.KeyExists(ScratchKey::Path(key))) return -2;
    reg.OpenKey(ScratchKey::Path(key));
    return reg.ReadInteger("Flag");
  }

  TempFolder folder_;
  ScratchKey scratch_;
};

// Bytes from a fixed generator: the same garbage on every run.
std::string Garbage(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 12345;
  for (char& c : bytes) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return bytes;
}

TEST_F(BadInputTest, DefinitionsOfAnyShapeAreListedOrFiledAway) {
  const std::string garbage = Garbage(4096);
  Definition("garbage.tweak", garbage);
  Definition("zero.tweak", Switch(std::string("TWEAKNAME> Zero\0inside", 22), "Zero"));
  const std::string longName(1 << 20, 'L');
  Definition("long.tweak", Switch("TWEAKNAME> " + longName, "Long"));
  Definition("cut.tweak", Switch("TWEAKNAME> Cut\x1A short", "Cut"));
  Definition("late.tweak", "TWEAKNAME> Late\r\nROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Late") +
                               "\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 5\x1AVALUEON> 7\r\n");
  ScopedEnv self("QZR_BAD_SELF", "[%QZR_BAD_SELF%]");
  ScopedEnv loopA("QZR_BAD_A", "%QZR_BAD_B%");
  ScopedEnv loopB("QZR_BAD_B", "%QZR_BAD_A%");
  Definition("self.tweak", Switch("TWEAKNAME> Self %QZR_BAD_SELF%", "Self"));
  Definition("loop.tweak", Switch("TWEAKNAME> Loop %QZR_BAD_A%", "Loop"));
  Definition("percent.tweak", Switch("TWEAKNAME> 100% sure", "Percent"));

  const Names listed = HostList();
  // Garbage has no name and no path: filed in ~trash, byte for byte, as a definition with errors.
  EXPECT_EQ(ReadBytes(Trash("garbage.tweak")), garbage);
  const std::string trashList = ReadBytes(Trash("descript.ion"));
  EXPECT_NE(trashList.find("\"garbage.tweak\" VLK Plugin with errors.\r\n"), std::string::npos) << trashList;
  // Ctrl-Z ends the text, inside a line too: "Cut" has a name and nothing more.
  EXPECT_NE(trashList.find("\"cut.tweak\" Cut\r\n"), std::string::npos) << trashList;
  // The others are listed; a zero byte or a 1 MiB name shows as the find record carries it.
  // "%" references end where they would never resolve: a reference that comes back stays.
  EXPECT_EQ(listed, (Names{"Late.", std::string(259, 'L'), "Loop %QZR_BAD_A%.", "100% sure.",
                           "Self [%QZR_BAD_SELF%].", "Zero"}));

  // Each listed entry can be copied out and opened by the name the host was shown.
  for (const std::string& name : listed) {
    SCOPED_TRACE(name.substr(0, 40));
    EXPECT_EQ(HostGetFile(name, User() + "report.txt"), host::kFsFileOk);
    EXPECT_EQ(HostOpen(name), host::kFsExecOk);
  }
  EXPECT_EQ(Script().ApplyShown, 6);
  EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front();
  EXPECT_EQ(Flag("Zero"), 1);
  EXPECT_EQ(Flag("Long"), 1);
  EXPECT_EQ(Flag("Late"), 5) << "nothing after the Ctrl-Z is read";
  EXPECT_EQ(Flag("Cut"), -2);

  // The last report is that of "Zero": the whole name, zero byte and all, is in it.
  const std::string report = ReadBytes(User() + "report.txt");
  EXPECT_NE(report.find(std::string("Zero\0inside", 11)), std::string::npos) << report;
  ASSERT_EQ(HostGetFile(std::string(259, 'L'), User() + "long.txt"), host::kFsFileOk);
  EXPECT_NE(ReadBytes(User() + "long.txt").find(longName), std::string::npos) << "the report holds the whole name";
}

TEST_F(BadInputTest, NamesTheListingDoesNotHoldFindNothing) {
  Definition("a.tweak", Switch("TWEAKNAME> A", "A"));
  ASSERT_EQ(HostList(), Names{"A."});
  for (const std::string& name : {std::string("Nope."), std::string(), std::string("A"), std::string(100000, 'x'),
                                  ".." + kDelim + ".." + kDelim + "A.x"}) {
    SCOPED_TRACE(name.substr(0, 20));
    const std::string target = User() + "out.txt";
    EXPECT_EQ(HostGetFile(name, target), host::kFsFileNotFound);
    EXPECT_FALSE(Exists(target)) << "no file is made for a name the listing does not hold";
    EXPECT_EQ(HostIcon(name), host::kFsIconUseDefault);
    EXPECT_EQ(HostOpen(name), host::kFsExecOk);
  }
  EXPECT_EQ(Script().ApplyShown, 0) << "nothing opens";
  EXPECT_TRUE(ui_.messages.empty());

  // A remote name in a folder below the root is looked up by its last part.
  EXPECT_EQ(HostGetFile("sub" + kDelim + "A.", User() + "sub.txt"), host::kFsFileOk);
}

TEST_F(BadInputTest, ReportTargetsThatCannotBeWrittenAreLeftAlone) {
  Definition("a.tweak", Switch("TWEAKNAME> A", "A"));
  ASSERT_EQ(HostList(), Names{"A."});
  // A folder that is not there: nothing is made.
  EXPECT_EQ(HostGetFile("A.", User() + "missing" + kDelim + "a.txt"), host::kFsFileWriteError);
  EXPECT_FALSE(Exists(User() + "missing"));
  // A read-only file: refused, kept as it is.
  WriteBytes(User() + "locked.txt", "keep me");
  ASSERT_TRUE(Os().files->SetAttributes(User() + "locked.txt", win::kAttrReadOnly));
  EXPECT_EQ(HostGetFile("A.", User() + "locked.txt"), host::kFsFileWriteError);
  EXPECT_EQ(ReadBytes(User() + "locked.txt"), "keep me");
  Os().files->SetAttributes(User() + "locked.txt", win::kAttrNormal);
  // A folder where the file should be: refused, the folder stays.
  fs::create_directories(fs::path(User() + "folder.txt" + kDelim + "inner"));
  EXPECT_EQ(HostGetFile("A.", User() + "folder.txt"), host::kFsFileWriteError);
  EXPECT_TRUE(fs::is_directory(fs::path(User() + "folder.txt" + kDelim + "inner")));
#ifndef _WIN32
  // A full disk while the new report is written, or a refused rename: the old file stays whole
  // and no temporary file is left beside it.
  WriteBytes(User() + "old.txt", "the previous report");
  for (const char* operation : {"WriteWhole", "MoveReplace"}) {
    posix::ScopedFaults faults;
    posix::Faults::Fail(operation, win::kDiskFull);
    EXPECT_EQ(HostGetFile("A.", User() + "old.txt"), host::kFsFileWriteError) << operation;
    EXPECT_EQ(ReadBytes(User() + "old.txt"), "the previous report") << operation;
  }
#endif
  Names left = ListFolder(User());
  std::erase(left, "old.txt");
  EXPECT_EQ(left, (Names{"folder.txt", "locked.txt"})) << "nothing else is made";
}

// Saving into a user's file that cannot be written shows why and leaves the file as it was.
TEST_F(BadInputTest, UserFilesThatCannotBeWrittenAreShownAndKept) {
  const std::string cfg = User() + "game.cfg", ini = User() + "app.ini";
  Definition("cfg.tweak", "TWEAKNAME> Cfg\r\nTYPE> CFG\r\nPATH> " + cfg +
                              "\r\nVALUENAME> cache\r\nVALUETYPE> DWORD\r\nVALUEON> 128\r\nVALUEOFF> 0\r\n");
  Definition("ini.tweak", "TWEAKNAME> Ini\r\nTYPE> INI\r\nPATH> " + ini +
                              "\r\nSECTION> Options\r\nVALUENAME> Fast\r\nVALUETYPE> STRING\r\nVALUEON> yes\r\n");
  Definition("nofolder.tweak", "TWEAKNAME> No folder\r\nTYPE> CFG\r\nPATH> " + User() + "gone" + kDelim +
                                   "x.cfg\r\nVALUENAME> a\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\n");
  Definition("noinifolder.tweak", "TWEAKNAME> No INI folder\r\nTYPE> INI\r\nPATH> " + User() + "gone" + kDelim +
                                      "x.ini\r\nSECTION> S\r\nVALUENAME> a\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\n");
  const std::string cfgBytes = "# settings\r\nname=player\r\ncache=64\r\n";
  const std::string iniBytes = "[Options]\r\nFast=no\r\n";
  WriteBytes(cfg, cfgBytes);
  WriteBytes(ini, iniBytes);
  ASSERT_EQ(HostList(), (Names{"Cfg.", "Ini.", "No folder.", "No INI folder."}));

  // A read-only CFG file; an INI file in a folder that is not there (Windows makes no folders
  // for it).
  ASSERT_TRUE(Os().files->SetAttributes(cfg, win::kAttrReadOnly));
  EXPECT_EQ(HostOpen("Cfg."), host::kFsExecOk);
  EXPECT_EQ(HostOpen("No INI folder."), host::kFsExecOk);
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_NE(ui_.messages[0].find("game.cfg"), std::string::npos) << ui_.messages[0];
  EXPECT_EQ(ui_.messages[1], "Unable to write to " + User() + "gone" + kDelim + "x.ini");
  Os().files->SetAttributes(cfg, win::kAttrNormal);
  EXPECT_EQ(ReadBytes(cfg), cfgBytes);

  // A CFG file whose folder is gone cannot be made: opening the tweak says so and makes nothing.
  EXPECT_EQ(HostOpen("No folder."), host::kFsExecOk);
  ASSERT_EQ(ui_.messages.size(), 3u);
  EXPECT_NE(ui_.messages[2].find("Cannot create file"), std::string::npos) << ui_.messages[2];
  EXPECT_FALSE(Exists(User() + "gone"));
  EXPECT_EQ(Script().ApplyShown, 2) << "the dialog does not open on a CFG file it cannot make";

#ifndef _WIN32
  // A full disk while the new CFG file or the INI file is written.
  posix::ScopedFaults faults;
  posix::Faults::Fail("WriteWhole", win::kDiskFull);
  posix::Faults::Fail("ProfileWrite", win::kDiskFull);
  EXPECT_EQ(HostOpen("Cfg."), host::kFsExecOk);
  EXPECT_EQ(HostOpen("Ini."), host::kFsExecOk);
  EXPECT_EQ(ui_.messages.size(), 5u);
  EXPECT_EQ(ReadBytes(cfg), cfgBytes);
  EXPECT_EQ(ReadBytes(ini), iniBytes);
#endif
  EXPECT_EQ(ListFolder(User()), (Names{"app.ini", "game.cfg"})) << "nothing else is made, no temporary file left";
}

}  // namespace
}  // namespace qzr::test
