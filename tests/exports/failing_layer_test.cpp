// The entry points when the system fails under them: a host session (configure, list, copy every
// tweak out, read its columns, switch one through them, open and save each through its dialog
// with one rebuild, about box, unload) runs once per call the plugin makes to the system, that
// call raising. Whatever fails, no exception leaves an entry point, each answers one of its own
// codes, the listing never holds a half-read definition, and every file and registry value of the
// user's is either as it was or as a faultless session leaves it: never cut short, never left with
// a temporary file beside it. The plugin's own records (the undo folder, the choices file) are
// whole and tell only of what a faultless session records.
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "commands/profile_file.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "exports/host_calls.h"
#include "exports/scripted_dialogs.h"
#include "interface/content_exports.h"
#include "interface/exports.h"
#include "interface/guard.h"
#include "support/failing_platform.h"
#include "support/fixed_clock.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

const std::string kDelim(1, kPathDelim);

// Everything of the user's that a session may change, and what the entry points answered.
struct Snapshot {
  std::map<std::string, std::string> files;     // relative path -> bytes, below the session folder
  std::map<std::string, std::string> registry;  // value name -> type and bytes
  std::vector<std::string> listed;
  std::vector<TTWREC> table;                    // the tweak table as the listing left it
  bool operator==(const Snapshot&) const = default;
};

class FailingLayerTest : public PluginTest {
 protected:
  // The session folder: the module's folder (plugins below it, settings beside it) and a user
  // folder with an INI file and a CFG file the tweaks change.
  std::string Root() const { return folder_.path("session") + kDelim; }
  std::string ModuleDir() const { return Root() + "module" + kDelim; }
  std::string UserDir() const { return Root() + "user" + kDelim; }
  std::string OutDir() const { return Root() + "out" + kDelim; }

  void Prepare() {
    std::error_code ec;
    fs::remove_all(fs::path(Root()), ec);
    fs::create_directories(fs::path(ModuleDir() + "plugins"));
    fs::create_directories(fs::path(UserDir()));
    fs::create_directories(fs::path(OutDir()));
    const std::string reg = "ROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Failing") + "\r\n";
    Definition("reg_switch.tweak", "// a comment line\r\nTWEAKNAME> Registry switch\r\n" + reg +
                                       "VALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    Definition("reg_typed.tweak", "TWEAKNAME> Typed delay\r\n" + reg +
                                      "VALUENAME> Delay\r\nVALUETYPE> STRING\r\nNOTBOOL> 1\r\nDEFAULT> 400\r\n");
    Definition("reg_bytes.tweak", "TWEAKNAME> Byte flags\r\n" + reg +
                                      "VALUENAME> Bytes\r\nVALUETYPE> BIN\r\nSIZE> 4\r\nVALUEON> 01000000\r\n"
                                      "VALUEOFF> #SYSDELVAL\r\n");
    Definition("ini_switch.tweak", "TWEAKNAME> INI switch\r\nTYPE> INI\r\nPATH> %QZR_FAILING_USER%" + kDelim +
                                       "app.ini\r\nSECTION> Options\r\nVALUENAME> Fast\r\nVALUETYPE> STRING\r\n"
                                       "VALUEON> yes\r\nVALUEOFF> no\r\n");
    Definition("cfg_switch.tweak", "TWEAKNAME> CFG switch\r\nTYPE> CFG\r\nPATH> " + UserDir() +
                                       "game.cfg\r\nVALUENAME> cache\r\nVALUETYPE> DWORD\r\nVALUEON> 128\r\n"
                                       "VALUEOFF> #SYSDELVAL\r\n");
    Definition("no_name.tweak", "PATH> Software\\Nothing\r\nVALUENAME> X\r\n");
    WriteBytes(UserDir() + "app.ini", "[Options]\r\nFast=no\r\nOther=1\r\n");
    WriteBytes(UserDir() + "game.cfg", "# settings\r\nname=player\r\n");
    WriteBytes(ModuleDir() + "qzrtc.ini", "[main]\r\nlang=0\r\n[keep]\r\nthis=1\r\n");

    scratch_.reset();
    scratch_ = std::make_unique<ScratchKey>();
    RegHandle key = 0;
    ASSERT_EQ(Os().registry->CreateKey(kHkeyCurrentUser, ScratchKey::Path("Failing"), win::kKeyAllAccess, &key),
              win::kSuccess);
    const uint8_t zero[4] = {0, 0, 0, 0};
    Os().registry->SetValue(key, "Flag", win::kRegDword, zero, 4);
    Os().registry->SetValue(key, "Delay", win::kRegSz, reinterpret_cast<const uint8_t*>("250"), 4);
    Os().registry->CloseKey(key);
    Script() = DialogScript{};
    Script().RebuildPresses = 1;
  }

  void Definition(const std::string& name, const std::string& text) {
    WriteBytes(ModuleDir() + "plugins" + kDelim + name, text);
  }

  // The session as a host runs it, through the entry points only (and the attach and detach
  // events, which the module runs guarded just so).
  Snapshot Session() {
    Snapshot seen;
    ResetState();
    GuardedVoid(Startup);
    State().ModuleDir = ModuleDir();

    HostConfigure(ModuleDir() + "wfx.ini");
    char root[64];
    FsGetDefRootName(root, sizeof root);
    seen.listed = HostList();
    seen.table = State().TweakTable;
    EXPECT_EQ(static_cast<size_t>(State().TweakPos), State().TweakTable.size());

    for (const std::string& name : names_) {
      int icon = HostIcon(name);
      EXPECT_TRUE(icon == host::kFsIconUseDefault || icon == host::kFsIconExtracted);
      int got = HostGetFile(name, OutDir() + name + "txt");
      EXPECT_TRUE(got == host::kFsFileOk || got == host::kFsFileNotFound || got == host::kFsFileWriteError) << got;
    }
    // The columns of one registry and one CFG tweak (the others read through the same code).
    for (const char* name : {"Registry switch.", "CFG switch."}) {
      std::string remote = kDelim + name;
      char value[256];
      int got = FsContentGetValue(remote.data(), 0, 0, value, sizeof value, 0);
      EXPECT_TRUE(got == host::kFtMultipleChoice || got == host::kFtFileError) << got;
    }
    std::string bulk = kDelim + "INI switch.", yes = "Yes";
    int set = FsContentSetValue(bulk.data(), 0, 0, host::kFtMultipleChoice, yes.data(), 0);
    EXPECT_TRUE(set == host::kFtSetSuccess || set == host::kFtFileError) << set;
    EXPECT_EQ(FsContentSetValue(nullptr, -1, 0, 0, nullptr, 0), host::kFtSetSuccess);
    for (const std::string& name : names_) EXPECT_EQ(HostOpen(name), host::kFsExecOk);
    std::string rootPath = kDelim;
    char properties[] = "properties";
    EXPECT_EQ(FsExecuteFile(nullptr, rootPath.data(), properties), host::kFsExecOk);
    EXPECT_EQ(FsPutFile(rootPath.data(), rootPath.data(), 0), host::kFsFileOk);
    EXPECT_EQ(FsDeleteFile(rootPath.data()), 0);
    GuardedVoid([] { Shutdown(); });
    return seen;
  }

  // The user's files and values after a session (read with nothing failing).
  void Collect(Snapshot& seen) const {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(Root()))) {
      if (!entry.is_regular_file()) continue;
      std::string relative = fs::relative(entry.path(), fs::path(Root())).generic_string();
      seen.files[relative] = ReadBytes(entry.path().string());
    }
    RegHandle key = 0;
    if (Os().registry->OpenKey(kHkeyCurrentUser, ScratchKey::Path("Failing"), win::kKeyRead, &key) != win::kSuccess)
      return;
    for (const char* name : {"Flag", "Delay", "Bytes"}) {
      uint32_t type = 0;
      uint8_t data[64];
      uint32_t size = sizeof data;
      if (Os().registry->QueryValue(key, name, &type, data, &size) == win::kSuccess)
        seen.registry[name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
    }
    Os().registry->CloseKey(key);
  }

  // Runs the session with nothing failing (the reference), then once for every call it makes,
  // that call raising `what`.
  void SweepEveryCall(Raise what) {
    FixedClock clock(*Os().system, 30);
    Override<SystemApi> fixedClock(Os().system, &clock);
    ScopedEnv user("QZR_FAILING_USER", UserDir().substr(0, UserDir().size() - 1).c_str());

    Prepare();
    Snapshot before;
    Collect(before);
    Snapshot after;
    int64_t calls = 0;
    {
      FailingPlatform failing;
      after = Session();
      calls = failing.Calls();
    }
    Collect(after);
    ASSERT_EQ(after.listed.size(), 5u) << "the faultless session lists the five valid definitions";
    ASSERT_EQ(Script().ApplyShown, 5);
    ASSERT_EQ(Script().AboutShown, 1);
    ASSERT_NE(after.registry, before.registry) << "the faultless session changes the values";
    ASSERT_GT(calls, 50);

    for (int64_t n = 1; n <= calls; ++n) {
      SCOPED_TRACE("the call that fails: " + std::to_string(n));
      Prepare();
      Snapshot seen;
      std::string failed;
      {
        FailingPlatform failing;
        failing.Arm(n, what);
        seen = Session();
        failed = failing.FiredIn();
        ASSERT_FALSE(failed.empty());
      }
      SCOPED_TRACE("in " + failed);
      Collect(seen);
      // A removal that fails leaves its file, whether it raises or answers an error.
      ExpectOnlyWholeStates(seen, before, after, failed == "RemoveFile");
      if (HasFatalFailure()) return;
    }
  }

  static void ExpectOnlyWholeStates(const Snapshot& seen, const Snapshot& before, const Snapshot& after,
                                    bool strayFileAllowed) {
    for (const TTWREC& r : seen.table) {
      bool known = std::find(after.table.begin(), after.table.end(), r) != after.table.end();
      EXPECT_TRUE(known) << "a listed tweak is one a faultless build makes: " << r.TweakName;
    }
    for (const std::string& name : seen.listed)
      EXPECT_TRUE(std::find(after.listed.begin(), after.listed.end(), name) != after.listed.end() || name == ".")
          << name;
    for (const auto& [name, value] : seen.registry) {
      auto was = before.registry.find(name);
      auto is = after.registry.find(name);
      EXPECT_TRUE((was != before.registry.end() && was->second == value) ||
                  (is != after.registry.end() && is->second == value))
          << "registry value " << name;
    }
    for (const auto& [name, value] : before.registry)
      EXPECT_TRUE(seen.registry.count(name) || !after.registry.count(name)) << "registry value " << name << " is gone";
    for (const auto& [path, bytes] : seen.files) {
      // The plugin's own database folders may hold part of a build; the user's files may not.
      if (path.starts_with("module/qzr_plugins/") || path.starts_with("module/~trash/")) continue;
      if (path.starts_with("module/qzr_undo/")) {
        ExpectWholeBackups(path, bytes, after);
        continue;
      }
      if (path == "module/qzr_choices.txt") {
        ExpectWholeChoices(bytes, after);
        continue;
      }
      if (strayFileAllowed && !before.files.count(path) && !after.files.count(path)) continue;
      auto was = before.files.find(path);
      auto is = after.files.find(path);
      EXPECT_TRUE((was != before.files.end() && was->second == bytes) || (is != after.files.end() && is->second == bytes))
          << path << " is neither as it was nor as a faultless session leaves it:\n" << bytes;
    }
    for (const auto& [path, bytes] : before.files)
      EXPECT_TRUE(seen.files.count(path)) << "a file of the user's is gone: " << path;
  }

  // The choices file records the Saves that went through, so a failed one leaves a file that
  // no faultless session writes; but it is whole, and it names only tweaks that session records.
  static void ExpectWholeChoices(const std::string& bytes, const Snapshot& after) {
    auto faultless = after.files.find("module/qzr_choices.txt");
    ASSERT_NE(faultless, after.files.end());
    std::set<std::string> recorded;
    for (const ProfileEntry& entry : ParseProfile(faultless->second).Entries) recorded.insert(entry.Name);
    const ParsedProfile parsed = ParseProfile(bytes);
    EXPECT_TRUE(parsed.Faults.empty()) << bytes;
    std::vector<std::string> header;
    for (size_t start = 0; bytes.compare(start, 2, "; ") == 0; start = bytes.find('\n', start) + 1)
      header.push_back(bytes.substr(start + 2, bytes.find("\r\n", start) - start - 2));
    EXPECT_EQ(FormatProfile(header, parsed.Entries), bytes) << "the choices file is whole";
    for (const ProfileEntry& entry : parsed.Entries) EXPECT_TRUE(recorded.count(entry.Name)) << entry.Name;
  }

  // The undo folder holds only whole backups and descriptions that a faultless session writes
  // too. Their names may differ: a Save that failed takes no number among the changes of its
  // second, so the later ones are numbered one lower.
  static void ExpectWholeBackups(const std::string& path, const std::string& bytes, const Snapshot& after) {
    auto unnamed = [](const std::string& list) {
      std::multiset<std::string> lines;
      for (size_t start = 0; start < list.size();) {
        size_t end = list.find('\n', start);
        end = end == std::string::npos ? list.size() : end + 1;
        std::string line = list.substr(start, end - start);
        lines.insert(line.substr(std::min(line.size(), line.find("\" ") + 1)));
        start = end;
      }
      return lines;
    };
    if (path.ends_with("/descript.ion")) {
      auto faultless = after.files.find(path);
      ASSERT_NE(faultless, after.files.end());
      std::multiset<std::string> written = unnamed(faultless->second);
      for (const std::string& line : unnamed(bytes)) EXPECT_TRUE(written.count(line)) << "a description of its own: " << line;
      return;
    }
    bool known = std::any_of(after.files.begin(), after.files.end(), [&](const auto& file) {
      return file.first.starts_with("module/qzr_undo/") && file.second == bytes;
    });
    EXPECT_TRUE(known) << path << " is no backup a faultless session writes:\n" << bytes;
  }

  TempFolder folder_;
  std::unique_ptr<ScratchKey> scratch_;
  const std::vector<std::string> names_{"Registry switch.", "Typed delay.", "Byte flags.", "INI switch.",
                                        "CFG switch."};
};

TEST_F(FailingLayerTest, EveryCallRaisingAStandardException) { SweepEveryCall(Raise::kBadAlloc); }

TEST_F(FailingLayerTest, EveryCallRaisingSomethingElse) { SweepEveryCall(Raise::kNonStandard); }

}  // namespace
}  // namespace qzr::test
