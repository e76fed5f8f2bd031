// The load as the hosts run it, through the linked-in entry points: calls that come before the
// host has named the settings folder (Total Commander calls FsInit first, Double Commander
// FsSetDefaultParams first; a host may never name one), and calls during and after shut-down
// (a column read still running on a host thread when the module unloads or the host exits).
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>

#include "exports/host_calls.h"
#include "exports/scripted_dialogs.h"
#include "interface/content_exports.h"
#include "interface/exports.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

const std::string kDelim(1, kPathDelim);
const std::string kTweak = "Registry switch.";

class LoadOrderTest : public PluginTest {
 protected:
  LoadOrderTest() {
    fs::create_directories(fs::path(Module() + "plugins"));
    fs::create_directories(fs::path(Settings()));
    WriteBytes(Module() + "plugins" + kDelim + "switch.tweak",
               "TWEAKNAME> Registry switch\r\nROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Load") +
                   "\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\n");
    WriteBytes(Settings() + "qzrtc.ini", "[main]\r\nlang=1\r\n");
    Script() = DialogScript{};
  }

  // A fresh load of the module from Module().
  void Load() {
    ResetState();
    Startup();
    State().ModuleDir = Module();
  }
  void Configure() {
    host::FsDefaultParamStruct dps{};
    dps.size = sizeof dps;
    const std::string ini = Settings() + "wfx.ini";
    std::memcpy(dps.DefaultIniName, ini.c_str(), ini.size() + 1);
    FsSetDefaultParams(&dps);
  }
  static int Column() {
    std::string remote = kDelim + kTweak;
    char value[64] = "";
    return FsContentGetValue(remote.data(), 0, 0, value, sizeof value, 0);
  }
  std::string Module() const { return folder_.path("module") + kDelim; }
  std::string Settings() const { return folder_.path("settings") + kDelim; }
  bool BuiltIn(const std::string& folder) const { return Exists(folder + "qzr_plugins"); }

  TempFolder folder_;
  ScratchKey scratch_;
};

// Until the host has named the settings folder, a listing, a column, a copy, an open or an icon
// is answered as for an empty folder and builds nothing; then the database is built where the
// host said, and the language is read from there.
TEST_F(LoadOrderTest, CallsBeforeTheSettingsFolderBuildNothingAndPinNothing) {
  struct Early {
    const char* what;
    std::function<void()> call;
  };
  const std::vector<Early> earlies = {
      {"listing", [] { EXPECT_EQ(HostList(), std::vector<std::string>{"."}); }},
      {"column", [] { EXPECT_EQ(Column(), host::kFtFileError); }},
      {"copy out", [this] { EXPECT_EQ(HostGetFile(kTweak, folder_.path("out.txt")), host::kFsFileNotFound); }},
      {"open", [] { EXPECT_EQ(HostOpen(kTweak), host::kFsExecOk); }},
      {"icon", [] { EXPECT_EQ(HostIcon(kTweak), host::kFsIconUseDefault); }},
  };
  for (bool commanderOrder : {true, false}) {
    for (const Early& early : earlies) {
      SCOPED_TRACE(std::string(commanderOrder ? "FsInit first: " : "FsSetDefaultParams first: ") + early.what);
      fs::remove_all(fs::path(Settings() + "qzr_plugins"));
      fs::remove_all(fs::path(Settings() + "~trash"));
      Load();
      if (commanderOrder) FsInit(1, nullptr, nullptr, nullptr);
      early.call();
      EXPECT_FALSE(BuiltIn(Module()));
      EXPECT_FALSE(BuiltIn(Settings()));
      Configure();
      if (!commanderOrder) FsInit(1, nullptr, nullptr, nullptr);
      EXPECT_EQ(State().IniDir, Settings());
      EXPECT_EQ(State().Language, kRussian);
      EXPECT_EQ(HostList(), std::vector<std::string>{kTweak});
      EXPECT_TRUE(BuiltIn(Settings()));
      EXPECT_FALSE(BuiltIn(Module()));
      EXPECT_EQ(Column(), host::kFtMultipleChoice);
    }
  }
  EXPECT_EQ(Script().ApplyShown, 0) << "nothing was opened before the listing was made";
  EXPECT_FALSE(Exists(folder_.path("out.txt")));

  // A host that never names one: the folder stays empty, and nothing is written anywhere.
  fs::remove_all(fs::path(Settings() + "qzr_plugins"));
  Load();
  FsInit(1, nullptr, nullptr, nullptr);
  EXPECT_EQ(HostList(), std::vector<std::string>{"."});
  EXPECT_EQ(Column(), host::kFtFileError);
  Shutdown();
  EXPECT_FALSE(BuiltIn(Module()));
  EXPECT_FALSE(BuiltIn(Settings()));
  EXPECT_FALSE(Exists(Module() + "qzrtc.ini"));
  EXPECT_TRUE(ui_.messages.empty());
}

// A registry whose key openings wait, once armed, until the test lets them go: a column read
// held inside the module while the module shuts down.
class GateRegistry : public DelegatingRegistry {
 public:
  void Arm() {
    std::lock_guard lock(mutex_);
    armed_ = true;
  }
  void WaitUntilHeld() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return held_; });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    armed_ = false;
    changed_.notify_all();
  }

 protected:
  void Before(const char* operation) override {
    if (std::string_view(operation) != "OpenKey") return;
    std::unique_lock lock(mutex_);
    if (!armed_) return;
    held_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] { return !armed_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool armed_ = false;
  bool held_ = false;
};

// The Linux module's unload handler (at dlclose, or at exit with the host's threads still
// running) and the Windows module's detach at FreeLibrary both run shut-down: a call still
// inside finishes on what it was reading, which is freed when it returns, and no call after
// shut-down starts the module again (it would build the database in the module's folder).
TEST_F(LoadOrderTest, ShutDownWhileAColumnIsReadFreesNothingUnderItAndStartsNothingAfter) {
  GateRegistry gate;
  Override<RegistryApi> gated(Os().registry, &gate);
  Load();
  FsInit(1, nullptr, nullptr, nullptr);
  Configure();
  ASSERT_EQ(HostList(), std::vector<std::string>{kTweak});
  WriteBytes(Settings() + "qzrtc.ini", "");

  gate.Arm();
  int inside = 0;
  std::thread reader([&] { inside = Column(); });
  gate.WaitUntilHeld();
  Shutdown();
  EXPECT_EQ(ReadBytes(Settings() + "qzrtc.ini"), "[main]\r\nlang=1\r\n") << "the language is kept at once";

  const std::string out = folder_.path("out.txt");
  EXPECT_EQ(HostList(), std::vector<std::string>{}) << "no handle after shut-down";
  EXPECT_EQ(Column(), host::kFtFileError);
  EXPECT_EQ(HostGetFile(kTweak, out), host::kFsFileWriteError);
  EXPECT_EQ(HostOpen(kTweak), host::kFsExecOk);
  EXPECT_EQ(Script().ApplyShown, 0);
  EXPECT_FALSE(BuiltIn(Module())) << "nothing started the module again";
  EXPECT_FALSE(Exists(out));
  EXPECT_EQ(State().TweakTable.size(), 1u) << "kept while the reader is inside";

  gate.Release();
  reader.join();
  EXPECT_EQ(inside, host::kFtMultipleChoice) << "the held read finished on what it was reading";
  EXPECT_TRUE(State().TweakTable.empty()) << "freed when the last call returned";
  EXPECT_TRUE(State().Ended);
  EXPECT_EQ(Column(), host::kFtFileError) << "still ended";
  EXPECT_FALSE(BuiltIn(Module()));
}

}  // namespace
}  // namespace qzr::test
