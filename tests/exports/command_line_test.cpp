// The command line as the hosts send it, FsExecuteFile on the folder with "quote <command>":
// one table of commands over registry, INI and CFG tweaks (masks, every default form, typed
// values, a refusal counted with nothing half-done, an undo file per change, one summary each);
// a profile saved and applied again on a fresh registry; bad profiles and files.
#include <filesystem>
#include <functional>

#include "apply/apply_save.h"
#include "apply/undo_files.h"
#include "base/path_text.h"
#include "commands/choices_file.h"
#include "exports/host_calls.h"
#include "interface/content_exports.h"
#include "interface/exports.h"
#include "plugin/execute.h"
#include "plugin/lifecycle.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "stores/ini_file.h"
#include "stores/vesk_registry.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "support/test_window.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

const std::string kDelim(1, kPathDelim);
const PostedMessage kReread{0x0400 + 51, 540, 0};

class CommandLineTest : public PluginTest {
 protected:
  CommandLineTest() {
    fs::create_directories(fs::path(Module() + "plugins"));
    fs::create_directories(fs::path(User()));
    Startup();
    State().ModuleDir = Module();
    const std::string reg = "ROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Cmd");
    const std::string cfg = "TYPE> CFG\r\nPATH> " + User() + "game.cfg\r\n";
    Definition("Registry switch", reg + "\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    Definition("Deleting default",
               reg + "\r\nVALUENAME> Gone\r\nVALUETYPE> STRING\r\nVALUEON> yes\r\nVALUEOFF> no\r\nDEFAULT> #SYSDELVAL\r\n");
    Definition("Key default",
               reg + "\\Sub\r\nVALUENAME> Inner\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> #SYSDELKEY\r\n");
    Definition("Typed delay", reg + "\r\nVALUENAME> Delay\r\nVALUETYPE> STRING\r\nNOTBOOL> 1\r\nDEFAULT> 400\r\n");
    Definition("Byte value", reg + "\r\nVALUENAME> Bytes\r\nVALUETYPE> BIN\r\nSIZE> 2\r\nNOTBOOL> 1\r\nDEFAULT> 0100\r\n");
    Definition("Odd = name; with blanks",
               reg + "\r\nVALUENAME> Odd\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    Definition("INI switch", "TYPE> INI\r\nPATH> " + User() +
                                 "app.ini\r\nSECTION> Options\r\nVALUENAME> Fast\r\nVALUETYPE> STRING\r\n"
                                 "VALUEON> yes\r\nVALUEOFF> no\r\nDEFAULT> #SYSDELVAL\r\n");
    Definition("CFG switch", cfg + "VALUENAME> cache\r\nVALUETYPE> DWORD\r\nVALUEON> 128\r\nVALUEOFF> 64\r\nDEFAULT> 32\r\n");
    Definition("CFG no default", cfg + "VALUENAME> sound\r\nVALUETYPE> STRING\r\nVALUEON> on\r\nVALUEOFF> off\r\n");
    Definition("CFG nowhere", "TYPE> CFG\r\nPATH> " + User() + "missing" + kDelim +
                                  "x.cfg\r\nVALUENAME> a\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    HostConfigure(Module() + "wfx.ini");
    EXPECT_EQ(HostList().size(), 10u);
  }

  std::string Module() const { return folder_.path("module") + kDelim; }
  std::string User() const { return folder_.path("user") + kDelim; }
  void Definition(const std::string& name, const std::string& lines) {
    WriteBytes(Module() + "plugins" + kDelim + std::to_string(++definitions_) + ".tweak",
               "TWEAKNAME> " + name + "\r\n" + lines);
  }

  // As the host sends what the user typed: the folder, and the verb with the command line.
  int Quote(const std::string& line) {
    std::string folder = kDelim, verb = "quote " + line;
    return FsExecuteFile(commander_.handle(), folder.data(), verb.data());
  }

  static void Put(const std::string& key, const std::string& value, uint32_t type, const std::string& bytes) {
    RegHandle h = 0;
    ASSERT_EQ(Os().registry->CreateKey(kHkeyCurrentUser, ScratchKey::Path(key), win::kKeyAllAccess, &h), win::kSuccess);
    Os().registry->SetValue(h, value, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                            static_cast<uint32_t>(bytes.size()));
    Os().registry->CloseKey(h);
  }
  static void PutDword(const std::string& key, const std::string& value, uint32_t number) {
    Put(key, value, win::kRegDword, std::string(reinterpret_cast<const char*>(&number), 4));
  }
  // The states the table starts from: every switch neither on nor off, or on.
  void Seed() {
    PutDword("Cmd", "Flag", 7);
    Put("Cmd", "Gone", win::kRegSz, std::string("yes", 4));
    PutDword("Cmd\\Sub", "Inner", 1);
    Put("Cmd", "Delay", win::kRegSz, std::string("250", 4));
    Put("Cmd", "Bytes", win::kRegBinary, "\x0A\x0B");
    PutDword("Cmd", "Odd", 1);
    WriteBytes(User() + "app.ini", "[Options]\r\nFast=maybe\r\nOther=1\r\n");
    WriteBytes(User() + "game.cfg", "# game\r\ncache=128\r\nsound=on\r\n");
  }
  // Every setting behind the tweaks, as text: what each command leaves.
  std::string World() const {
    std::string seen;
    TVeskRegistry reg;
    if (reg.OpenKeyReadOnly(ScratchKey::Path("Cmd"))) {
      for (const char* name : {"Flag", "Odd"})
        if (reg.ValueExists(name)) seen += std::string(name) + "=" + std::to_string(reg.ReadInteger(name)) + ";";
      for (const char* name : {"Gone", "Delay"})
        if (reg.ValueExists(name)) seen += std::string(name) + "=" + reg.ReadString(name) + ";";
      if (reg.ValueExists("Bytes")) {
        uint8_t b[2] = {};
        reg.ReadBinaryData("Bytes", b, 2);
        seen += "Bytes=" + std::to_string(b[0]) + "," + std::to_string(b[1]) + ";";
      }
      TVeskRegistry sub;  // a path without a leading backslash opens below the key open now
      if (sub.OpenKeyReadOnly(ScratchKey::Path("Cmd\\Sub")))
        seen += sub.ValueExists("Inner") ? "Inner=" + std::to_string(sub.ReadInteger("Inner")) + ";" : "Sub;";
    } else {
      seen += "no key;";
    }
    TIniFile ini(User() + "app.ini");
    seen += ini.ValueExists("OPTIONS", "Fast") ? "Fast=" + ini.ReadString("OPTIONS", "Fast", "") + ";" : "no Fast;";
    seen += "cfg:" + (Exists(User() + "game.cfg") ? ReadBytes(User() + "game.cfg") : "none") + ";";
    if (Exists(User() + "missing")) seen += "missing made;";
    return seen;
  }
  void ClearWorld() {
    DeleteRegistryTree(kHkeyCurrentUser, ScratchKey::Path("Cmd"));
    for (const std::string& file : ListFolder(User())) fs::remove_all(fs::path(User() + file));
    fs::remove(fs::path(ChoicesPath(Module())));
  }
  size_t UndoFiles() const { return ListFolder(UndoFolder(Module())).size(); }
  // The State column of every tweak, as the panel shows it.
  static std::string States() {
    std::string seen;
    for (const std::string& name : HostList()) {
      std::string remote = kDelim + name;
      char buffer[256] = {};
      FsContentGetValue(remote.data(), 0, 0, buffer, sizeof buffer, 0);
      seen += name + buffer + ";";
    }
    return seen;
  }
  // What Save raises for the tweak, as the dialog would show it.
  static std::string RefusalOf(const std::string& name) {
    try {
      SaveTweak(*TweakAt(TweakIndexOf(kDelim + name + ".")), 0, "", State().OSIsNT, UndoFolder(State().IniDir));
    } catch (const std::exception& e) {
      return e.what();
    }
    return "no refusal";
  }

  TempFolder folder_;
  ScratchKey scratch_;
  TestWindow commander_{"TTOTAL_CMD"};
  int definitions_ = 0;
};

TEST_F(CommandLineTest, EachCommandChangesWhatItNamesThroughSaveAndSumsItUpOnce) {
  const std::string refused = "CFG nowhere: " + RefusalOf("CFG nowhere");
  const std::string seeded = "Flag=7;Odd=1;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;";
  const std::string typedSkip = "Skipped 1 typed by hand: give each its value with set NAME = VALUE.";
  const std::string help = "Commands of the QZR_TC folder";
  struct Row {
    std::string command;
    std::string summary;  // the whole message; help rows: how it begins
    std::string world;    // after the command, from the seeded states
    size_t undoFiles;     // one per change
    std::function<void()> before = [] {};
    uint8_t language = kEnglish;
  };
  const std::vector<Row> rows = {
      {"on Registry* REG*", "on: 1 saved, 0 skipped, 0 refused.",
       "Flag=1;Odd=1;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;", 1},
      {"off \"Odd = name; with blanks\" INI* cfg?sw*", "off: 3 saved, 0 skipped, 0 refused.",
       "Flag=7;Odd=0;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=no;cfg:# game\r\ncache=64\r\nsound=on\r\n;", 3},
      {"OFF *",
       "off: 7 saved, 2 skipped, 1 refused.\nSkipped 2 typed by hand: give each its value with set NAME = VALUE.\n"
       "Refused:\n" + refused,
       "Flag=0;Odd=0;Gone=no;Delay=250;Bytes=10,11;Inner=0;Fast=no;cfg:# game\r\ncache=64\r\nsound=off\r\n;", 7},
      {"off Registry*", "off: сохранено 1, пропущено 0, отказано 0.",
       "Flag=0;Odd=1;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;", 1,
       [] {}, kRussian},
      // Every form of default: a value, a value deleted, a key deleted, typed text and bytes,
      // an INI key deleted, a CFG value; none given; a refusal.
      {"default *",
       "default: 8 saved, 1 skipped, 1 refused.\nSkipped 1 whose definition gives no default.\nRefused:\n" + refused,
       "Flag=0;Odd=0;Delay=400;Bytes=1,0;no Fast;cfg:# game\r\ncache=32\r\nsound=on\r\n;", 8},
      {"on \"Typed delay\"", "on: 0 saved, 1 skipped, 0 refused.\n" + typedSkip, seeded, 0},
      {"set Typed delay = 300 ms", "set: 1 saved, 0 skipped, 0 refused.",
       "Flag=7;Odd=1;Gone=yes;Delay=300 ms;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;", 1},
      {"set \"byte VALUE.\" = 0c0D", "set: 1 saved, 0 skipped, 0 refused.",
       "Flag=7;Odd=1;Gone=yes;Delay=250;Bytes=12,13;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;", 1},
      {"on \"CFG nowhere\"", "on: 0 saved, 0 skipped, 1 refused.\nRefused:\n" + refused, seeded, 0},
      // A choice Windows turned back is applied again; one still as chosen is left alone.
      // The panel read the CFG file before it changed: the command looks afresh.
      {"reapply", "reapply: 2 saved, 0 skipped, 0 refused.\n1 still as chosen.",
       "Flag=1;Odd=0;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;", 2,
       [this] {
         Quote("on cfg?sw*");  // the first choice: it is looked at before any Save forgets the reads
         Quote("off Odd*");
         Quote("on Registry*");
         States();
         PutDword("Cmd", "Flag", 0);
         WriteBytes(User() + "game.cfg", "# game\r\ncache=64\r\nsound=on\r\n");
       }},
      {"reapply Odd*", "Nothing to apply again: every choice still shows.",
       "Flag=7;Odd=0;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;", 0,
       [this] { Quote("off Odd*"); }},
      // Bad input: a clear message, nothing changed.
      {"on Nothing* Reg?stry*", "on: 1 saved, 0 skipped, 0 refused.\nNo tweak matches \"Nothing*\".",
       "Flag=1;Odd=1;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;", 1},
      {"on Nothing*", "No tweak matches \"Nothing*\".", seeded, 0},
      {"off", "off: name the tweaks, or give a mask such as \"Explorer*\".", seeded, 0},
      {"off \"\"", "off: name the tweaks, or give a mask such as \"Explorer*\".", seeded, 0},
      {"set Registry switch = 1", "\"Registry switch\" is switched with on or off, not typed: on \"Registry switch\"",
       seeded, 0},
      {"set Nothing here = 1", "No tweak is named \"Nothing here\".", seeded, 0},
      {"set \"Typed delay = 1", "A quotation mark is not closed.", seeded, 0},
      {"frobnicate *", "Unknown command \"frobnicate\".\n\n" + help, seeded, 0},
      {"help", help, seeded, 0},
      {"", help, seeded, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    ClearWorld();
    Seed();
    row.before();
    commander_.Take();
    ui_.messages.clear();
    ui_.notices.clear();
    const size_t undoBefore = UndoFiles();
    State().Language = row.language;
    EXPECT_EQ(Quote(row.command), host::kFsExecOk);
    State().Language = kEnglish;
    ASSERT_EQ(ui_.messages.size(), 1u) << "one message for the whole command";
    if (row.summary == help || row.summary.ends_with(help))
      EXPECT_EQ(ui_.messages[0].rfind(row.summary, 0), 0u) << ui_.messages[0];
    else
      EXPECT_EQ(ui_.messages[0], row.summary);
    EXPECT_EQ(World(), row.world);
    EXPECT_EQ(UndoFiles() - undoBefore, row.undoFiles + (undoBefore == 0 && row.undoFiles ? 1 : 0))
        << "an undo file per change (and the folder's descript.ion)";
    EXPECT_EQ(commander_.Take(), row.undoFiles ? std::vector<PostedMessage>{kReread} : std::vector<PostedMessage>{})
        << "the panel rereads after a change";
    EXPECT_EQ(ui_.notices, row.undoFiles ? std::vector<std::string>{"WM_SETTINGCHANGE"} : std::vector<std::string>{})
        << "Windows is told once per command that changed something";
  }
}

// The host's line is UTF-8: words in any script reach the messages whole, and a mask, name or
// value the ANSI code page cannot spell (Chinese on a Western Windows) names no tweak and is never
// written with "?" in its place.
TEST_F(CommandLineTest, WordsInAnyScriptAreTakenExactlyOrNotAtAll) {
  const bool spelt = ExactAnsi("配置").has_value();
  const std::string typed = "Flag=7;Odd=1;Gone=yes;Delay=配置 ms;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;";
  const std::string seeded = "Flag=7;Odd=1;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;";
  const struct Row {
    std::string command, summary, world;
  } rows[] = {
      {"on 配置* Reg?stry*", "on: 1 saved, 0 skipped, 0 refused.\nNo tweak matches \"配置*\".",
       "Flag=1;Odd=1;Gone=yes;Delay=250;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;"},
      {"set 配置 = 1", "No tweak is named \"配置\".", seeded},
      {"set Typed delay = 配置 ms",
       spelt ? "set: 1 saved, 0 skipped, 0 refused."
             : "set: 0 saved, 0 skipped, 1 refused.\nRefused:\nTyped delay: the value holds characters the system's "
               "code page lacks",
       spelt ? typed : seeded},
      {"переключить *", "Unknown command \"переключить\".", seeded},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    ClearWorld();
    Seed();
    ui_.messages.clear();
    ExecuteFile(kDelim, "quote " + row.command);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].substr(0, row.summary.size()), row.summary);
    EXPECT_EQ(World(), row.world);
  }
}

TEST_F(CommandLineTest, AProfileSavedThenAppliedOnAFreshSystemGivesBackEveryState) {
  Seed();
  PutDword("Cmd", "Flag", 1);
  DeleteRegistryTree(kHkeyCurrentUser, ScratchKey::Path("Cmd\\Sub"));
  Put("Cmd", "Delay", win::kRegSz, std::string("say \"hi\"; = x") + std::string(1, '\0'));
  WriteBytes(User() + "game.cfg", "cache=64\r\nsound=off\r\n");
  const std::string states = States();
  ASSERT_EQ(Quote("save my.profile"), host::kFsExecOk);
  const std::string path = Module() + "my.profile";
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"Profile written: " + path + " (10 tweaks)."});
  const std::string profile = ReadBytes(path);
  EXPECT_EQ(profile.rfind("; QZR_TC profile\r\n; Written by QZR_TC ", 0), 0u) << profile;
  EXPECT_NE(profile.find("\r\n\"Odd = name; with blanks\" = on\r\n"), std::string::npos) << profile;
  EXPECT_EQ(profile.find('\n'), profile.find("\r\n") + 1);

  ClearWorld();
  ui_.messages.clear();
  ASSERT_NE(States(), states);
  ASSERT_EQ(Quote("apply \"" + path + "\""), host::kFsExecOk);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"apply: 9 saved, 0 skipped, 1 refused.\nRefused:\nCFG nowhere: " +
                                                   RefusalOf("CFG nowhere")});
  EXPECT_EQ(States(), states) << "every state as it was saved";

  // Only the tweaks a mask names.
  ui_.messages.clear();
  ASSERT_EQ(Quote("save part.txt cfg* REG*"), host::kFsExecOk);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"Profile written: " + Module() + "part.txt (4 tweaks)."});
}

TEST_F(CommandLineTest, ABadProfileOrFileChangesNothingItShouldNot) {
  Seed();
  WriteBytes(Module() + "hand.txt",
             "; made by hand\r\n\"Registry switch\" = ON\r\nthis is not a line\r\n\"No such tweak\" = off\r\n"
             "\"Typed delay\" = on\r\n\"CFG switch\" = \"5\"\r\nTyped delay = \"275\"\r\n");
  EXPECT_EQ(Quote("apply hand.txt"), host::kFsExecOk);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{
                              "apply: 2 saved, 0 skipped, 0 refused.\nLine 3 is not understood: this is not a line\n"
                              "Line 4: no tweak is named \"No such tweak\".\n"
                              "Line 5: \"Typed delay\" takes a value typed by hand, not on or off.\n"
                              "Line 6: \"CFG switch\" is switched on or off, not typed."});
  EXPECT_EQ(World(), "Flag=1;Odd=1;Gone=yes;Delay=275;Bytes=10,11;Inner=1;Fast=maybe;cfg:# game\r\ncache=128\r\nsound=on\r\n;");

  const std::string world = World();
  const std::vector<std::string> files = ListFolder(Module());
  struct Case {
    std::string command, begins;
  };
  const Case cases[] = {
      {"apply nothing.txt", "The profile " + Module() + "nothing.txt could not be read. "},
      {"save \"" + User() + "no" + kDelim + "p.txt\"", "The profile " + User() + "no" + kDelim + "p.txt could not be written. "},
      {"save p.txt Nothing*", "No tweak matches \"Nothing*\"."},
      {"apply", "apply: name the profile file."},
      {"apply a.txt b.txt", "apply: too many words."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ui_.messages.clear();
    EXPECT_EQ(Quote(c.command), host::kFsExecOk);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].rfind(c.begins, 0), 0u) << ui_.messages[0];
    EXPECT_EQ(World(), world);
    EXPECT_EQ(ListFolder(Module()), files);
    EXPECT_FALSE(Exists(User() + "no"));
  }
}

}  // namespace
}  // namespace qzr::test
