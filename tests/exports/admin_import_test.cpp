// Machine-wide changes refused for lack of rights, made as administrator: the dialog's Save, a
// change of attributes over three tweaks and a command over them, each asking one question and
// importing one file; declined, failed, or read back otherwise, they stay refused with nothing
// left behind; a HKEY_CURRENT_USER tweak never asks. The registry refuses the plugin's writes as
// it does a user without the rights; the import itself goes to the platform's real one (under
// Wine the real reg.exe, started through "runas").
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "commands/choices_file.h"
#include "apply/reg_file_text.h"
#include "apply/undo_files.h"
#include "exports/host_calls.h"
#include "exports/scripted_dialogs.h"
#include "interface/content_exports.h"
#include "interface/exports.h"
#include "interface/fsplugin.h"
#include "plugin/host_window.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "support/test_window.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

const std::string kDelim(1, kPathDelim);
const std::string kMachineKey = std::string(ScratchKey::kPath) + "\\Admin";

// What the import answers: the platform's own, or a stand-in that leaves the registry alone.
enum class Import { kReal, kDeclined, kFailed, kNothingDone };

class StandInImport final : public DelegatingSystem {
 public:
  long ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) override {
    files.push_back(bytes);
    switch (mode) {
      case Import::kReal: return DelegatingSystem::ImportRegistryFileAsAdministrator(bytes, owner);
      case Import::kDeclined: return win::kCancelled;
      case Import::kFailed: return 1;
      case Import::kNothingDone: return win::kSuccess;
    }
    return 1;
  }
  Import mode = Import::kReal;
  std::vector<std::string> files;
};

class AdminImportTest : public PluginTest {
 protected:
  AdminImportTest() {
    fs::create_directories(fs::path(Module() + "plugins"));
    Startup();
    State().ModuleDir = Module();
    const std::string machine = "ROOTKEY> HKLM\r\nPATH> " + kMachineKey;
    Definition("Machine dword", machine + "\r\nVALUENAME> A\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\n");
    Definition("Machine key",
               machine + "\\Sub\r\nVALUENAME> Inner\r\nVALUETYPE> DWORD\r\nVALUEON> #SYSDELKEY\r\nVALUEOFF> 0\r\n");
    Definition("Machine text",
               machine + "\r\nVALUENAME> B\r\nVALUETYPE> STRING\r\nVALUEON> #SYSDELVAL\r\nVALUEOFF> kept\r\n");
    Definition("User dword", "ROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Admin") +
                                 "\r\nVALUENAME> A\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\n");
    HostConfigure(Module() + "wfx.ini");
    EXPECT_EQ(HostList().size(), 4u);
    Script() = DialogScript{};
    RememberHostWindow(commander_.handle());
    // Everything off, as the machine's administrator left it.
    DeleteRegistryTree(kHkeyLocalMachine, kMachineKey);
    PutDword(kMachineKey, "A", 0);
    PutText(kMachineKey, "B", "kept");
    PutDword(kMachineKey + "\\Sub", "Inner", 0);
  }
  ~AdminImportTest() override { DeleteRegistryTree(kHkeyLocalMachine, kMachineKey); }

  std::string Module() const { return folder_.path("module") + kDelim; }
  void Definition(const std::string& name, const std::string& lines) {
    WriteBytes(Module() + "plugins" + kDelim + name + ".tweak", "TWEAKNAME> " + name + "\r\n" + lines);
  }
  static void Put(const std::string& key, const std::string& value, uint32_t type, const std::string& bytes) {
    RegHandle h = 0;
    ASSERT_EQ(Os().registry->CreateKey(kHkeyLocalMachine, key, win::kKeyAllAccess, &h), win::kSuccess);
    Os().registry->SetValue(h, value, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                            static_cast<uint32_t>(bytes.size()));
    Os().registry->CloseKey(h);
  }
  static void PutDword(const std::string& key, const std::string& value, uint32_t n) {
    Put(key, value, win::kRegDword, std::string(reinterpret_cast<const char*>(&n), 4));
  }
  static void PutText(const std::string& key, const std::string& value, const std::string& text) {
    Put(key, value, win::kRegSz, text + std::string(1, '\0'));
  }
  // The machine's three settings: "A=1;B=kept;Sub=0;" and "-" for what is gone.
  static std::string Machine() {
    std::string seen;
    auto read = [&](const std::string& key, const std::string& value) {
      RegHandle h = 0;
      if (Os().registry->OpenKey(kHkeyLocalMachine, key, win::kKeyRead, &h) != win::kSuccess) return std::string("-");
      uint32_t type = 0;
      char data[64] = {};
      uint32_t size = sizeof data;
      const long rc = Os().registry->QueryValue(h, value, &type, reinterpret_cast<uint8_t*>(data), &size);
      Os().registry->CloseKey(h);
      if (rc != win::kSuccess) return std::string("-");
      return type == win::kRegDword ? std::to_string(static_cast<unsigned char>(data[0])) : std::string(data);
    };
    return "A=" + read(kMachineKey, "A") + ";B=" + read(kMachineKey, "B") + ";Sub=" + read(kMachineKey + "\\Sub", "Inner") + ";";
  }
  size_t UndoFiles() const {
    size_t n = 0;
    for (const std::string& name : ListFolder(UndoFolder(Module())))
      if (name.ends_with(".reg")) ++n;
    return n;
  }
  int Quote(const std::string& line) {
    std::string folder = kDelim, verb = "quote " + line;
    return FsExecuteFile(commander_.handle(), folder.data(), verb.data());
  }
  static int Set(const std::string& name, const std::string& text) {
    std::string remote = kDelim + name + ".", value = text;
    return FsContentSetValue(remote.data(), 0, 0, host::kFtMultipleChoice, value.data(),
                             host::kSetFlagsFirstAttribute | host::kSetFlagsLastAttribute);
  }

  TempFolder folder_;
  ScratchKey scratch_;
  TestWindow commander_{"TTOTAL_CMD"};
  StandInImport system_;
  Override<SystemApi> systemOverride_{Os().system, &system_};
};

// Refused already at opening the key for writing, as without the rights.
const std::string kRefusedA = "Unable to write to HKEY_LOCAL_MACHINE\\" + kMachineKey;
const std::string kAllOn = "A=1;B=-;Sub=-;";
const std::string kAllOff = "A=0;B=kept;Sub=0;";

TEST_F(AdminImportTest, TheDialogAsksAtOnceAndOnlyAReadBackThatShowsTheChangeCounts) {
  struct Row {
    const char* what;
    bool yes;
    Import import;
    const char* machine;
    size_t imports, undoFiles;
    std::vector<std::string> messages;
  };
  const Row rows[] = {
      {"yes", true, Import::kReal, "A=1;B=kept;Sub=0;", 1, 1, {}},
      {"declined by the question", false, Import::kReal, "A=0;B=kept;Sub=0;", 0, 0, {kRefusedA}},
      {"declined by the prompt", true, Import::kDeclined, "A=0;B=kept;Sub=0;", 1, 0, {kRefusedA}},
      {"a failed import", true, Import::kFailed, "A=0;B=kept;Sub=0;", 1, 0, {kRefusedA}},
      {"an import that did nothing", true, Import::kNothingDone, "A=0;B=kept;Sub=0;", 1, 0, {kRefusedA}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    PutDword(kMachineKey, "A", 0);
    fs::remove_all(fs::path(UndoFolder(Module())));
    fs::remove(fs::path(ChoicesPath(Module())));
    ui_.messages.clear();
    ui_.questions.clear();
    ui_.answers = {row.yes};
    system_.mode = row.import;
    system_.files.clear();
    NoRightsRegistry noRights;
    {
      Override<RegistryApi> refusing(Os().registry, &noRights);
      HostOpen("Machine dword.");
    }
    EXPECT_EQ(Machine(), row.machine);
    ASSERT_EQ(ui_.questions.size(), 1u);
    EXPECT_NE(ui_.questions[0].find("HKEY_LOCAL_MACHINE\\" + kMachineKey), std::string::npos) << ui_.questions[0];
    EXPECT_EQ(system_.files.size(), row.imports);
    if (row.imports) {
      EXPECT_EQ(system_.files[0],
                RegFileBytes(std::string(kRegFileHeader) + "\r\n[HKEY_LOCAL_MACHINE\\" + kMachineKey + "]\r\n\"A\"=dword:00000001\r\n"));
    }
    EXPECT_EQ(ui_.messages, row.messages);
    EXPECT_EQ(UndoFiles(), row.undoFiles) << "an undo file only for a change that happened";
    EXPECT_EQ(ReadBytes(ChoicesPath(Module())).find("\"Machine dword\" = on") != std::string::npos, row.undoFiles == 1)
        << "recorded as the user's choice only when made";
  }
}

TEST_F(AdminImportTest, AChangeOfAttributesAndACommandAskOnceForAllTheirRefusedChanges) {
  const std::string file = RegFileBytes(std::string(kRegFileHeader) + "\r\n[HKEY_LOCAL_MACHINE\\" + kMachineKey +
                                        "]\r\n\"A\"=dword:00000001\r\n" + "\r\n[-HKEY_LOCAL_MACHINE\\" + kMachineKey +
                                        "\\Sub]\r\n" + "\r\n[HKEY_LOCAL_MACHINE\\" + kMachineKey + "]\r\n\"B\"=-\r\n");
  const std::string names = "\nMachine dword\nMachine key\nMachine text";
  struct Row {
    bool command, yes;
    const char* machine;
    std::string message;
  };
  const Row rows[] = {
      {false, true, kAllOn.c_str(), "Applied as administrator:" + names},
      {false, false, kAllOff.c_str(),
       "Still refused:\nMachine dword: " + kRefusedA + "\nMachine key: Unable to write to HKEY_LOCAL_MACHINE\\" +
           kMachineKey + "\\Sub\nMachine text: " + kRefusedA},
      {true, true, kAllOn.c_str(), "on: 3 saved, 0 skipped, 0 refused.\nApplied as administrator:" + names},
      {true, false, kAllOff.c_str(), "on: 0 saved, 0 skipped, 3 refused.\nRefused:\nMachine dword: " + kRefusedA +
                                         "\nMachine key: Unable to write to HKEY_LOCAL_MACHINE\\" + kMachineKey +
                                         "\\Sub\nMachine text: " + kRefusedA},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.command ? "command" : "attributes") + (row.yes ? " yes" : " no"));
    DeleteRegistryTree(kHkeyLocalMachine, kMachineKey);
    PutDword(kMachineKey, "A", 0);
    PutText(kMachineKey, "B", "kept");
    PutDword(kMachineKey + "\\Sub", "Inner", 0);
    fs::remove_all(fs::path(UndoFolder(Module())));
    ui_.messages.clear();
    ui_.questions.clear();
    ui_.answers = {row.yes};
    system_.files.clear();
    commander_.Take();
    NoRightsRegistry noRights;
    {
      Override<RegistryApi> refusing(Os().registry, &noRights);
      if (row.command) {
        Quote("on Machine*");
      } else {
        for (const char* name : {"Machine dword", "Machine key", "Machine text"})
          EXPECT_EQ(Set(name, "Yes"), host::kFtFileError) << "refused until the end of the change";
        EXPECT_EQ(FsContentSetValue(nullptr, -1, 0, 0, nullptr, 0), host::kFtSetSuccess);
      }
    }
    EXPECT_EQ(Machine(), row.machine);
#ifdef _WIN32
    // Where Windows reads it: the 64-bit view, from either module.
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(ExitCodeOf(std::string(system) + "\\reg.exe", "query HKLM\\" + kMachineKey + "\\Sub /reg:64"),
              row.yes ? 1u : 0u);
#endif
    EXPECT_EQ(ui_.questions.size(), 1u) << "one question for the whole operation";
    EXPECT_EQ(system_.files, row.yes ? std::vector<std::string>{file} : std::vector<std::string>{});
    EXPECT_EQ(ui_.messages, std::vector<std::string>{row.message});
    EXPECT_EQ(UndoFiles(), row.yes ? 3u : 0u);
    EXPECT_EQ(commander_.Take().size(), row.yes ? 1u : 0u) << "the panel is reread after a change";
  }
}

TEST_F(AdminImportTest, AUserSettingIsNeverElevated) {
  NoRightsRegistry noRights;
  {
    Override<RegistryApi> refusing(Os().registry, &noRights);
    ui_.answers = {true};
    Quote("on User*");
    EXPECT_EQ(Set("User dword", "Yes"), host::kFtFileError);
    EXPECT_EQ(FsContentSetValue(nullptr, -1, 0, 0, nullptr, 0), host::kFtSetSuccess);
    HostOpen("User dword.");
  }
  EXPECT_TRUE(ui_.questions.empty());
  EXPECT_TRUE(system_.files.empty());
  ASSERT_EQ(ui_.messages.size(), 3u);
  EXPECT_EQ(ui_.messages[0], "on: 0 saved, 0 skipped, 1 refused.\nRefused:\nUser dword: Unable to write to "
                             "HKEY_CURRENT_USER\\" + ScratchKey::Path("Admin"));
  EXPECT_EQ(UndoFiles(), 0u);
}

}  // namespace
}  // namespace qzr::test
