// The panel's columns through the linked-in content entry points: the field list and the
// default view; every field of registry (key missing, value missing, on, off, typed, bytes),
// INI and CFG tweaks in both languages; the bulk change of State against the dialog's Save
// (same writes, same refusals); reading that creates nothing; the reread command after a Save;
// Chosen and Reverted after a Save and after a change behind the plugin's back, with the
// choices file read once per listing; and reads from two threads while a third saves.
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "apply/apply_save.h"
#include "apply/undo_files.h"
#include "commands/choices_file.h"
#include "exports/host_calls.h"
#include "exports/scripted_dialogs.h"
#include "interface/content_exports.h"
#include "interface/exports.h"
#include "plugin/lifecycle.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "stores/vesk_registry.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "support/test_window.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

const std::string kDelim(1, kPathDelim);

struct Answer {
  int Code = 0;
  std::string Text;  // text fields; "1"/"0" for a boolean
  bool operator==(const Answer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Answer& a) { return out << a.Code << " \"" << a.Text << "\""; }

class ContentFieldsTest : public PluginTest {
 protected:
  ContentFieldsTest() {
    fs::create_directories(fs::path(Module() + "plugins"));
    fs::create_directories(fs::path(User()));
    Startup();
    State().ModuleDir = Module();
    const std::string reg = "ROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Columns") + "\r\n";
    Definition("switch.tweak", "TWEAKNAME> Registry switch\r\n" + reg +
                                   "VALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    Definition("deleting.tweak", "TWEAKNAME> Deleting switch\r\n" + reg +
                                     "VALUENAME> Gone\r\nVALUETYPE> STRING\r\nVALUEON> #SYSDELVAL\r\nVALUEOFF> kept\r\n"
                                     "DEFAULT> kept\r\n");
    Definition("typed.tweak", "TWEAKNAME> Typed delay\r\n" + reg +
                                  "VALUENAME> Delay\r\nVALUETYPE> STRING\r\nNOTBOOL> 1\r\nDEFAULT> 400\r\n");
    Definition("menu.tweak", "TWEAKNAME> Menu delay\r\nROOTKEY> HKCU\r\nPATH> Control Panel\\Desktop\r\n"
                             "VALUENAME> MenuShowDelay\r\nVALUETYPE> STRING\r\nNOTBOOL> 1\r\nDEFAULT> 400\r\n");
    Definition("bytes.tweak", "TWEAKNAME> Byte value\r\n" + reg +
                                  "VALUENAME> Bytes\r\nVALUETYPE> BIN\r\nSIZE> 4\r\nNOTBOOL> 1\r\nDEFAULT> 01000000\r\n");
    Definition("ini.tweak", "TWEAKNAME> INI switch\r\nTYPE> INI\r\nPATH> " + User() +
                                "app.ini\r\nSECTION> Options\r\nVALUENAME> Fast\r\nVALUETYPE> STRING\r\n"
                                "VALUEON> yes\r\nVALUEOFF> #SYSDELVAL\r\nDEFAULT> #SYSDELVAL\r\n");
    Definition("cfg.tweak", "TWEAKNAME> CFG switch\r\nTYPE> CFG\r\nPATH> " + User() +
                                "game.cfg\r\nVALUENAME> cache\r\nVALUETYPE> DWORD\r\nVALUEON> 128\r\n"
                                "VALUEOFF> #SYSDELVAL\r\nDEFAULT> #SYSDELVAL\r\n");
    Definition("cfg2.tweak", "TWEAKNAME> CFG second\r\nTYPE> CFG\r\nPATH> " + User() +
                                 "game.cfg\r\nVALUENAME> sound\r\nVALUETYPE> STRING\r\nVALUEON> on\r\nVALUEOFF> off\r\n");
    Definition("nowhere.tweak", "TWEAKNAME> CFG nowhere\r\nTYPE> CFG\r\nPATH> " + User() + "missing" + kDelim +
                                    "x.cfg\r\nVALUENAME> a\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\n");
    HostConfigure(Module() + "wfx.ini");
    HostList();
    Script() = DialogScript{};
  }

  std::string Module() const { return folder_.path("module") + kDelim; }
  std::string User() const { return folder_.path("user") + kDelim; }
  void Definition(const std::string& name, const std::string& bytes) {
    WriteBytes(Module() + "plugins" + kDelim + name, bytes);
  }

  static Answer Field(const std::string& name, int index) {
    std::string remote = kDelim + name;
    char buffer[512];
    std::memset(buffer, 0x7f, sizeof buffer);
    int code = FsContentGetValue(remote.data(), index, 0, buffer, sizeof buffer, 0);
    if (code == host::kFtBoolean) {
      int32_t flag = -1;
      std::memcpy(&flag, buffer, sizeof flag);
      return Answer{code, std::to_string(flag)};
    }
    if (code == host::kFtString || code == host::kFtMultipleChoice) return Answer{code, buffer};
    return Answer{code, ""};
  }
  // As Total Commander's change of attributes sets State, the only field it can set: the
  // file's first and last attribute at once.
  static int Set(const std::string& name, const std::string& text) {
    std::string remote = kDelim + name, value = text;
    return FsContentSetValue(remote.data(), 0, 0, host::kFtMultipleChoice, value.data(),
                             host::kSetFlagsFirstAttribute | host::kSetFlagsLastAttribute);
  }
  static int EndSet() { return FsContentSetValue(nullptr, -1, 0, 0, nullptr, 0); }

  static void Put(const std::string& value, uint32_t type, const std::string& bytes) {
    RegHandle key = 0;
    ASSERT_EQ(Os().registry->CreateKey(kHkeyCurrentUser, ScratchKey::Path("Columns"), win::kKeyAllAccess, &key),
              win::kSuccess);
    Os().registry->SetValue(key, value, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                            static_cast<uint32_t>(bytes.size()));
    Os().registry->CloseKey(key);
  }
  static void PutDword(const std::string& value, uint32_t number) {
    Put(value, win::kRegDword, std::string(reinterpret_cast<const char*>(&number), 4));
  }
  // Every value below the scratch key and every user file, as text.
  std::string World() const {
    std::string seen;
    TVeskRegistry reg;
    if (reg.OpenKeyReadOnly(ScratchKey::Path("Columns"))) {
      seen += "key;";
      for (const char* name : {"Flag", "Gone", "Delay", "Bytes"})
        if (reg.ValueExists(name)) seen += std::string(name) + "=" + reg.ReadString(name) + ";";
    } else {
      seen += "no key;";
    }
    for (const std::string& file : ListFolder(User())) seen += file + ":" + ReadBytes(User() + file) + ";";
    return seen;
  }
  void ClearWorld() {
    DeleteRegistryTree(kHkeyCurrentUser, ScratchKey::Path("Columns"));
    for (const std::string& file : ListFolder(User())) fs::remove_all(fs::path(User() + file));
    PanelReads().Invalidate();
  }
  static std::string Ansi(const std::string& utf8) { return Os().system->Utf8ToAnsi(utf8); }

  TempFolder folder_;
  ScratchKey scratch_;
};

TEST_F(ContentFieldsTest, ListsEightFieldsAndADefaultViewOfFourColumns) {
  struct Row {
    const char* name;
    int type;
  };
  const Row expected[] = {{"State", host::kFtMultipleChoice}, {"Default", host::kFtString},
                          {"Is default", host::kFtBoolean},   {"Store", host::kFtString},
                          {"Location", host::kFtString},      {"Chosen", host::kFtString},
                          {"Reverted", host::kFtBoolean},     {"Takes effect", host::kFtString}};
  for (uint8_t language : {kEnglish, kRussian}) {
    State().Language = language;
    for (int i = 0; i < 8; ++i) {
      char name[64] = "x", units[64] = "x";
      EXPECT_EQ(FsContentGetSupportedField(i, name, units, sizeof name), expected[i].type) << i;
      EXPECT_STREQ(name, expected[i].name) << "English in both languages";
      EXPECT_STREQ(units, i == 0 ? (language == kEnglish ? "Yes|No" : Ansi("Да|Нет").c_str()) : "");
      EXPECT_EQ(FsContentGetSupportedFieldFlags(i), i == 0 ? 1 : 0) << "only State can be set";
    }
    EXPECT_EQ(FsContentGetSupportedFieldFlags(-1), host::kContFlagsEdit)
        << "the flags of all fields: on 0 Total Commander offers none in its change of attributes";
    EXPECT_EQ(FsContentGetSupportedFieldFlags(8), 0);
    char name[8], units[8];
    EXPECT_EQ(FsContentGetSupportedField(8, name, units, sizeof name), host::kFtNoMoreFields);
    EXPECT_EQ(FsContentGetSupportedField(-1, name, units, sizeof name), host::kFtNoMoreFields);
    EXPECT_EQ(FsContentGetSupportedField(0, name, units, 3), host::kFtMultipleChoice);
    EXPECT_STREQ(name, "St") << "cut to the buffer";
  }

  char contents[256], headers[256], widths[256], options[256];
  State().Language = kEnglish;
  ASSERT_EQ(FsContentGetDefaultView(contents, headers, widths, options, sizeof contents), 1);
  EXPECT_STREQ(contents, "[=<fs>.State]\\n[=<fs>.Default]\\n[=<fs>.Location]");
  EXPECT_STREQ(headers, "State\\nDefault\\nLocation");
  EXPECT_STREQ(options, "-1|0");
  std::string w = widths;
  EXPECT_EQ(std::count(w.begin(), w.end(), ','), 4) << "name and extension, then one per header: " << w;
  State().Language = kRussian;
  ASSERT_EQ(FsContentGetDefaultView(contents, headers, widths, options, sizeof contents), 1);
  EXPECT_STREQ(contents, "[=<fs>.State]\\n[=<fs>.Default]\\n[=<fs>.Location]") << "field names stay English";
  EXPECT_EQ(std::string(headers), Ansi("Состояние\\nПо умолчанию\\nРасположение"));
}

TEST_F(ContentFieldsTest, EveryFieldOfEveryKindOfTweakInBothLanguages) {
  const int S = host::kFtString, M = host::kFtMultipleChoice, B = host::kFtBoolean, E = host::kFtFieldEmpty;
  const std::string regAt = "HKCU\\" + ScratchKey::Path("Columns") + "\\";
  struct Case {
    const char* what;
    std::function<void()> setup;
    const char* tweak;
    Answer state[2];  // English, Russian
    Answer deflt[2];
    Answer isDefault;
    Answer store;
    std::string location;
  };
  const std::string dash = User() + "app.ini [OPTIONS] Fast";
  const std::vector<Case> cases = {
      {"key missing", [] {}, "Registry switch.", {{M, "No"}, {M, Ansi("Нет")}}, {{S, "NO"}, {S, Ansi("НЕТ")}},
       {B, "1"}, {S, "Registry"}, regAt + "Flag"},
      {"value missing", [] { PutDword("Other", 5); }, "Registry switch.", {{M, "No"}, {M, Ansi("Нет")}},
       {{S, "NO"}, {S, Ansi("НЕТ")}}, {B, "1"}, {S, "Registry"}, regAt + "Flag"},
      {"on", [] { PutDword("Flag", 1); }, "Registry switch.", {{M, "Yes"}, {M, Ansi("Да")}},
       {{S, "NO"}, {S, Ansi("НЕТ")}}, {B, "0"}, {S, "Registry"}, regAt + "Flag"},
      {"off", [] { PutDword("Flag", 0); }, "Registry switch.", {{M, "No"}, {M, Ansi("Нет")}},
       {{S, "NO"}, {S, Ansi("НЕТ")}}, {B, "1"}, {S, "Registry"}, regAt + "Flag"},
      {"deleted value is on", [] { PutDword("Other", 5); }, "Deleting switch.", {{M, "Yes"}, {M, Ansi("Да")}},
       {{S, "NO"}, {S, Ansi("НЕТ")}}, {B, "0"}, {S, "Registry"}, regAt + "Gone"},
      {"typed", [] { Put("Delay", win::kRegSz, std::string("250", 4)); }, "Typed delay.", {{S, "250"}, {S, "250"}},
       {{S, "400"}, {S, "400"}}, {B, "0"}, {S, "Registry"}, regAt + "Delay"},
      {"typed, missing", [] { PutDword("Other", 5); }, "Typed delay.", {{S, "400"}, {S, "400"}},
       {{S, "400"}, {S, "400"}}, {B, "1"}, {S, "Registry"}, regAt + "Delay"},
      {"typed, key missing", [] {}, "Typed delay.", {{E, ""}, {E, ""}}, {{S, "400"}, {S, "400"}}, {B, "0"},
       {S, "Registry"}, regAt + "Delay"},
      {"bytes", [] { Put("Bytes", win::kRegBinary, std::string("\x02\x00\xAB\x00", 4)); }, "Byte value.",
       {{S, "0200AB00"}, {S, "0200AB00"}}, {{S, "01000000"}, {S, "01000000"}}, {B, "0"}, {S, "Registry"},
       regAt + "Bytes"},
      {"INI on", [this] { WriteBytes(User() + "app.ini", "[Options]\r\nFast=yes\r\n"); }, "INI switch.",
       {{M, "Yes"}, {M, Ansi("Да")}}, {{S, "NO"}, {S, Ansi("НЕТ")}}, {B, "0"}, {S, "INI"}, dash},
      {"INI file missing", [] {}, "INI switch.", {{M, "No"}, {M, Ansi("Нет")}}, {{S, "NO"}, {S, Ansi("НЕТ")}},
       {B, "1"}, {S, "INI"}, dash},
      {"CFG on", [this] { WriteBytes(User() + "game.cfg", "# x\r\ncache=128\r\n"); }, "CFG switch.",
       {{M, "Yes"}, {M, Ansi("Да")}}, {{S, "NO"}, {S, Ansi("НЕТ")}}, {B, "0"}, {S, "CFG"}, User() + "game.cfg cache"},
      {"CFG file missing", [] {}, "CFG switch.", {{M, "No"}, {M, Ansi("Нет")}}, {{S, "NO"}, {S, Ansi("НЕТ")}},
       {B, "1"}, {S, "CFG"}, User() + "game.cfg cache"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearWorld();
    c.setup();
    const std::string before = World();
    for (uint8_t language : {kEnglish, kRussian}) {
      State().Language = language;
      EXPECT_EQ(Field(c.tweak, 0), c.state[language]);
      EXPECT_EQ(Field(c.tweak, 1), c.deflt[language]);
      EXPECT_EQ(Field(c.tweak, 2), c.isDefault);
      EXPECT_EQ(Field(c.tweak, 3), c.store);
      EXPECT_EQ(Field(c.tweak, 4), (Answer{S, c.location}));
      EXPECT_EQ(Field(c.tweak, 5), (Answer{E, ""})) << "never chosen";
      EXPECT_EQ(Field(c.tweak, 6), (Answer{B, "0"})) << "nothing chosen, nothing reverted";
      // No row of the setting effects holds the scratch key: a registry setting is taken to show
      // after the next sign-in, a file's when its program starts again.
      const bool registry = c.store.Text == "Registry";
      EXPECT_EQ(Field(c.tweak, 7), (Answer{S, registry ? Ansi(language ? "повторный вход" : "sign-out")
                                                       : Ansi(language ? "перезапуск программы" : "program restart")}));
    }
    EXPECT_EQ(World(), before) << "reading creates and changes nothing";
  }
  State().Language = kEnglish;
  EXPECT_EQ(Field("CFG nowhere.", 0), (Answer{M, "No"})) << "a file in a missing folder reads as empty";
  EXPECT_EQ(Field("nothing.", 0), (Answer{host::kFtFileError, ""}));
  EXPECT_EQ(Field("nothing.", 3), (Answer{host::kFtFileError, ""}));
  EXPECT_EQ(Field(".", 0), (Answer{host::kFtFieldEmpty, ""}));
  EXPECT_EQ(Field("..", 4), (Answer{host::kFtFieldEmpty, ""}));
  EXPECT_EQ(Field("Menu delay.", 7), (Answer{S, "at once"})) << "SystemParametersInfo makes it true at once";
  EXPECT_EQ(Field("Registry switch.", 8), (Answer{host::kFtNoSuchField, ""}));
  EXPECT_EQ(Field("Registry switch.", -1), (Answer{host::kFtNoSuchField, ""}));
  EXPECT_FALSE(Exists(User() + "missing"));
}

TEST_F(ContentFieldsTest, SettingStateWritesWhatSaveWritesAndIsRefusedAsSaveIs) {
  struct Case {
    const char* tweak;
    const char* text;
    int choice;
  };
  const Case cases[] = {{"Registry switch.", "Yes", 0},  {"Registry switch.", "no", 1}, {"Deleting switch.", "YES", 0},
                        {"Deleting switch.", "No", 1},   {"INI switch.", "Yes", 0},     {"INI switch.", "No", 1},
                        {"CFG switch.", "Yes", 0},       {"CFG switch.", "No", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tweak) + " " + c.text);
    auto prepare = [&] {
      ClearWorld();
      PutDword("Flag", 7);
      Put("Gone", win::kRegSz, std::string("x", 2));
      WriteBytes(User() + "app.ini", "[Options]\r\nFast=maybe\r\nOther=1\r\n");
      WriteBytes(User() + "game.cfg", "# settings\r\ncache=64\r\n");
    };
    prepare();
    SaveTweak(*TweakAt(TweakIndexOf(kDelim + c.tweak)), c.choice, "", State().OSIsNT, UndoFolder(State().IniDir));
    const std::string bySave = World();
    prepare();
    EXPECT_EQ(Set(c.tweak, c.text), host::kFtSetSuccess);
    EXPECT_EQ(World(), bySave);
    EXPECT_EQ(Field(c.tweak, 0), (Answer{host::kFtMultipleChoice, c.choice == 0 ? "Yes" : "No"}))
        << "the next read sees the change";
  }
  EXPECT_TRUE(ui_.notices.empty()) << "Windows is told at the end of the change";
  EXPECT_EQ(EndSet(), host::kFtSetSuccess);
  EXPECT_EQ(ui_.notices, std::vector<std::string>{"WM_SETTINGCHANGE"}) << "eight Saves, one broadcast";
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ListFolder(UndoFolder(Module())).size(), 2 * std::size(cases) + 1)
      << "each Save and each bulk change left its undo file (and the descript.ion)";

  State().Language = kRussian;
  if (Ansi("Да") == "Да") {  // a code page with Cyrillic letters
    EXPECT_EQ(Set("Registry switch.", "Да"), host::kFtSetSuccess);
    EXPECT_EQ(Field("Registry switch.", 0), (Answer{host::kFtMultipleChoice, "Да"}));
  }
  State().Language = kEnglish;

  EXPECT_EQ(EndSet(), host::kFtSetSuccess);
  ui_.notices.clear();

  // What Save refuses: a CFG file that cannot be made. Its message shows once in a change.
  const std::string before = World();
  EXPECT_EQ(Set("CFG nowhere.", "Yes"), host::kFtFileError);
  EXPECT_EQ(Set("CFG nowhere.", "No"), host::kFtFileError);
  EXPECT_EQ(World(), before);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].rfind("Cannot create file \"" + User() + "missing", 0), 0u) << ui_.messages[0];
  EXPECT_EQ(EndSet(), host::kFtSetSuccess);
  EXPECT_EQ(Set("CFG nowhere.", "Yes"), host::kFtFileError);
  EXPECT_EQ(ui_.messages.size(), 2u) << "the next change shows it again";
  EXPECT_EQ(EndSet(), host::kFtSetSuccess);
  EXPECT_TRUE(ui_.notices.empty()) << "nothing changed, nothing sent";

  // What the columns cannot set.
  EXPECT_EQ(Set("Typed delay.", "Yes"), host::kFtFileError) << "typed by hand";
  EXPECT_EQ(Set("Registry switch.", "maybe"), host::kFtFileError);
  EXPECT_EQ(Set("nothing.", "Yes"), host::kFtFileError);
  std::string remote = kDelim + "Registry switch.", text = "Yes";
  EXPECT_EQ(FsContentSetValue(remote.data(), 4, 0, host::kFtString, text.data(), 0), host::kFtNoSuchField);
  EXPECT_EQ(FsContentSetValue(remote.data(), 0, 0, host::kFtMultipleChoice, nullptr, 0), host::kFtFileError);
  EXPECT_EQ(World(), before);
  EXPECT_EQ(FsSetAttr(remote.data(), 0x80), 1) << "attributes: nothing to change, nothing refused";
}

TEST_F(ContentFieldsTest, AFileIsReadOnceForAllItsFieldsAndTweaksUntilASaveOrAListing) {
  WriteBytes(User() + "game.cfg", "cache=128\r\nsound=on\r\n");
  WriteBytes(User() + "app.ini", "[Options]\r\nFast=yes\r\n");
  HostList();
  const int64_t start = PanelReads().FileReads();
  for (int field : {0, 2, 0, 2}) {
    EXPECT_EQ(Field("CFG switch.", field).Code, field == 0 ? host::kFtMultipleChoice : host::kFtBoolean);
    EXPECT_EQ(Field("CFG second.", field).Code, field == 0 ? host::kFtMultipleChoice : host::kFtBoolean);
  }
  EXPECT_EQ(PanelReads().FileReads() - start, 1) << "two tweaks, two fields, twice: one read of game.cfg";
  Field("INI switch.", 0);
  const int64_t afterIni = PanelReads().FileReads();
  Field("INI switch.", 2);
  EXPECT_EQ(PanelReads().FileReads(), afterIni) << "the second field asks the profile functions nothing new";

  WriteBytes(User() + "game.cfg", "sound=on\r\n");
  EXPECT_EQ(Field("CFG switch.", 0), (Answer{host::kFtMultipleChoice, "Yes"})) << "until the next listing";
  HostList();
  EXPECT_EQ(Field("CFG switch.", 0), (Answer{host::kFtMultipleChoice, "No"})) << "a listing looks again";
  EXPECT_EQ(Set("CFG second.", "No"), host::kFtSetSuccess);
  EXPECT_EQ(Field("CFG second.", 0), (Answer{host::kFtMultipleChoice, "No"})) << "a Save looks again";
  EXPECT_EQ(ReadBytes(User() + "game.cfg"), "sound=off\r\n");
}

TEST_F(ContentFieldsTest, ChosenShowsTheLastChoiceAndRevertedAChangeBehindThePluginsBack) {
  const int S = host::kFtString, B = host::kFtBoolean;
  struct Case {
    const char* what;
    const char* tweak;
    std::function<void()> choose;  // a Save, or a line of the choices file written by hand
    std::function<void()> behind;  // what changes the setting without the plugin
    Answer chosen[2];              // English, Russian
  };
  auto open = [](const char* tweak, const char* typed) {
    Script().TypedValue = typed;
    std::string remote = kDelim + tweak;
    char verb[] = "open";
    FsExecuteFile(nullptr, remote.data(), verb);
  };
  auto byHand = [](const char* name, ProfileStateKind kind) {
    ASSERT_TRUE(RecordChoice(ChoicesPath(State().IniDir), ProfileEntry{name, ProfileState{kind, ""}}));
  };
  const std::vector<Case> cases = {
      {"switched on, turned off", "Registry switch.", [] { Set("Registry switch.", "Yes"); },
       [] { PutDword("Flag", 0); }, {{S, "Yes"}, {S, Ansi("Да")}}},
      {"switched off, its value deleted", "Deleting switch.", [] { Set("Deleting switch.", "No"); },
       [this] {
         ClearWorld();
         PutDword("Other", 5);
       },
       {{S, "No"}, {S, Ansi("Нет")}}},
      {"typed in the dialog, typed again elsewhere", "Typed delay.", [&] { open("Typed delay.", "250"); },
       [] { Put("Delay", win::kRegSz, std::string("300", 4)); }, {{S, "250"}, {S, "250"}}},
      {"INI on, its key gone", "INI switch.", [] { Set("INI switch.", "Yes"); },
       [this] { WriteBytes(User() + "app.ini", "[Options]\r\n"); }, {{S, "Yes"}, {S, Ansi("Да")}}},
      {"CFG on, another value", "CFG switch.", [] { Set("CFG switch.", "Yes"); },
       [this] { WriteBytes(User() + "game.cfg", "cache=64\r\n"); }, {{S, "Yes"}, {S, Ansi("Да")}}},
      {"default, as a profile gives it", "Registry switch.", [&] { byHand("Registry switch", ProfileStateKind::kDefault); },
       [] { PutDword("Flag", 1); }, {{S, "NO"}, {S, Ansi("НЕТ")}}},
      {"default of a typed value", "Typed delay.", [&] { byHand("Typed delay", ProfileStateKind::kDefault); },
       [] { Put("Delay", win::kRegSz, std::string("300", 4)); }, {{S, "400"}, {S, "400"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearWorld();
    PutDword("Other", 5);  // the key is there: a typed value missing from it reads as the default
    c.choose();
    HostList();
    for (uint8_t language : {kEnglish, kRussian}) {
      State().Language = language;
      EXPECT_EQ(Field(c.tweak, 5), c.chosen[language]);
      EXPECT_EQ(Field(c.tweak, 6), (Answer{B, "0"})) << "the live state shows the choice";
    }
    c.behind();
    HostList();
    for (uint8_t language : {kEnglish, kRussian}) {
      State().Language = language;
      EXPECT_EQ(Field(c.tweak, 5), c.chosen[language]) << "the choice stays";
      EXPECT_EQ(Field(c.tweak, 6), (Answer{B, "1"})) << "Windows turned it back";
    }
    State().Language = kEnglish;
  }
  EXPECT_EQ(ui_.messages, std::vector<std::string>{});
}

TEST_F(ContentFieldsTest, TheChoicesFileIsReadOncePerListingHoweverManyFieldsAndThreadsAsk) {
  EXPECT_EQ(Set("Registry switch.", "Yes"), host::kFtSetSuccess);
  EXPECT_EQ(Set("CFG switch.", "No"), host::kFtSetSuccess);
  EXPECT_EQ(EndSet(), host::kFtSetSuccess);
  const std::vector<std::string> names = {"Registry switch.", "Deleting switch.", "Typed delay.", "INI switch.",
                                          "CFG switch.", "CFG second."};
  auto reader = [&] {
    for (int round = 0; round < 20; ++round)
      for (const std::string& name : names)
        for (int field : {5, 6}) Field(name, field);
  };
  for (int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    HostList();
    const int64_t start = PanelChoices().FileReads();
    std::thread a(reader);
    if (threads == 2) reader();
    a.join();
    EXPECT_EQ(PanelChoices().FileReads() - start, 1) << "six tweaks, two fields, twenty rounds: one read";
  }
  EXPECT_EQ(Field("Registry switch.", 5), (Answer{host::kFtString, "Yes"}));
  EXPECT_EQ(Field("CFG switch.", 5), (Answer{host::kFtString, "No"}));
}

TEST_F(ContentFieldsTest, TotalCommandersWindowIsAskedToRereadAfterASaveAndNoOtherWindowIs) {
  const PostedMessage reread{0x0400 + 51, 540, 0};
  TestWindow commander("TTOTAL_CMD");
  TestWindow other("SomeOtherHost");
  ASSERT_NE(commander.handle(), nullptr);
  ASSERT_NE(other.handle(), nullptr);
  std::string remote = kDelim + "Registry switch.";
  char open[] = "open";

  EXPECT_EQ(FsExecuteFile(commander.handle(), remote.data(), open), host::kFsExecOk);
  EXPECT_EQ(Script().ApplyShown, 1);
  EXPECT_EQ(commander.Take(), std::vector<PostedMessage>{reread}) << "after the dialog's Save";
  EXPECT_EQ(ui_.notices, std::vector<std::string>{"WM_SETTINGCHANGE"}) << "and Windows is told";
  ui_.notices.clear();

  EXPECT_EQ(Set("Registry switch.", "No"), host::kFtSetSuccess);
  EXPECT_EQ(Set("INI switch.", "Yes"), host::kFtSetSuccess);
  EXPECT_TRUE(commander.Take().empty()) << "not before the host's change is over";
  EXPECT_EQ(EndSet(), host::kFtSetSuccess);
  EXPECT_EQ(commander.Take(), std::vector<PostedMessage>{reread}) << "once for the whole change";
  EXPECT_EQ(EndSet(), host::kFtSetSuccess);
  EXPECT_TRUE(commander.Take().empty()) << "an end without changes rereads nothing";

  EXPECT_EQ(FsExecuteFile(other.handle(), remote.data(), open), host::kFsExecOk);
  EXPECT_TRUE(other.Take().empty());
  EXPECT_TRUE(commander.Take().empty());

  ui_.notices.clear();
  Script().TypedValue = "not typed here";
  std::string nowhere = kDelim + "CFG nowhere.";
  EXPECT_EQ(FsExecuteFile(commander.handle(), nowhere.data(), open), host::kFsExecOk);
  EXPECT_TRUE(commander.Take().empty()) << "a refused Save changes nothing to show";
  EXPECT_TRUE(ui_.notices.empty()) << "nor anything to tell";
}

TEST_F(ContentFieldsTest, FieldsReadFromTwoThreadsWhileAThirdSavesAfterTheSettingsCameTwice) {
  WriteBytes(User() + "app.ini", "[Options]\r\nFast=yes\r\n");
  const std::vector<std::string> names = {"Registry switch.", "Deleting switch.", "Typed delay.", "Byte value.",
                                          "INI switch.", "CFG switch."};
  // A fresh load: the first reader's call builds the database while the others ask too.
  // Double Commander's order: the settings file before FsInit and again after it.
  ResetState();
  Startup();
  State().ModuleDir = Module();
  host::FsDefaultParamStruct dps{};
  dps.size = sizeof dps;
  const std::string ini = Module() + "wfx.ini";
  std::memcpy(dps.DefaultIniName, ini.c_str(), ini.size() + 1);
  FsSetDefaultParams(&dps);
  HostConfigure(ini);
  std::mutex badMutex;
  std::vector<std::string> bad;
  auto failed = [&](const std::string& what, int code) {
    std::lock_guard lock(badMutex);
    bad.push_back(what + ": " + std::to_string(code));
  };
  auto reader = [&] {
    for (int round = 0; round < 40; ++round)
      for (const std::string& name : names)
        for (int field = 0; field < 7; ++field) {
          Answer a = Field(name, field);
          if (a.Code < 0 && a.Code != host::kFtFieldEmpty) failed(name + " field " + std::to_string(field), a.Code);
        }
  };
  auto saver = [&] {
    for (int round = 0; round < 40; ++round)
      for (const char* name : {"Registry switch.", "INI switch.", "CFG switch."})
        if (int code = Set(name, round % 2 ? "Yes" : "No"); code != host::kFtSetSuccess) failed(name, code);
    EndSet();
  };
  std::thread a(reader), b(reader), c(saver);
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(bad, std::vector<std::string>{});
  EXPECT_EQ(ui_.messages, std::vector<std::string>{});
  EXPECT_EQ(HostList().size(), 9u);
  EXPECT_EQ(Field("Registry switch.", 0), (Answer{host::kFtMultipleChoice, "Yes"})) << "the last save counts";
  EXPECT_EQ(Field("CFG switch.", 0), (Answer{host::kFtMultipleChoice, "Yes"}));

  // Once the database is built, a late settings file moves neither it nor the settings.
  const std::string elsewhere = User() + "other.ini";
  std::memcpy(dps.DefaultIniName, elsewhere.c_str(), elsewhere.size() + 1);
  FsSetDefaultParams(&dps);
  EXPECT_EQ(State().IniDir, Module());
  EXPECT_EQ(HostList().size(), 9u);
}

}  // namespace
}  // namespace qzr::test
