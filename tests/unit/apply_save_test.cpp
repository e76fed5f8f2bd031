// Save: the choice (on, off, typed) and every row of the action table against the stores (the
// real registry and profile API under Wine).
#include "apply/apply_save.h"

#include <optional>

#include "apply/tweak_state.h"
#include "apply/undo_files.h"
#include "base/errors.h"
#include "plugin/plugin_state.h"
#include "stores/vesk_registry.h"
#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "util/text.h"
#include "util/utf16.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qzr::test {
namespace {

class ApplySaveTest : public PluginTest {
 protected:
  TTWREC Reg(uint8_t dataType) {
    TTWREC t;
    t.PlugType = kPlugReg;
    t.RootKey = kRootCurrentUser;
    t.Path = ScratchKey::Path("tweak");
    t.VarName = "Value";
    t.DataType = dataType;
    return t;
  }
  // The value as the registry holds it now: "" for no value, "<missing key>" for no key.
  std::string Stored(const TTWREC& t) {
    TVeskRegistry reg;
    if (!reg.KeyExists(t.Path)) return "<missing key>";
    reg.OpenKey(t.Path);
    if (!reg.ValueExists(t.VarName)) return "";
    if (t.DataType == kDataDword) return "dword:" + std::to_string(reg.ReadInteger(t.VarName));
    if (t.DataType == kDataString) return "sz:" + reg.ReadString(t.VarName);
    uint8_t buffer[16] = {};
    int32_t size = reg.ReadBinaryData(t.VarName, buffer, sizeof buffer);
    std::string hex = "bin:";
    for (int32_t i = 0; i < size; ++i) hex += std::to_string(buffer[i]) + ",";
    return hex;
  }
  std::string Undo() const { return UndoFolder(folder_.dir()); }
  ScratchKey scratch_;
  TempFolder folder_;
};

TEST_F(ApplySaveTest, RegistryDwordOnAndOff) {
  TTWREC t = Reg(kDataDword);
  t.ValueOn = int32_t{1};
  t.ValueOff = int32_t{-1};
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(Stored(t), "dword:1") << "the key is created for the value";
  SaveTweak(t, 1, "ignored", false, Undo());
  EXPECT_EQ(Stored(t), "dword:-1");

  TTWREC untyped = Reg(kDataNone);
  untyped.Path = ScratchKey::Path("untyped");
  untyped.ValueOn = int32_t{1};
  SaveTweak(untyped, 0, "", false, Undo());
  EXPECT_EQ(Stored(untyped), "<missing key>") << "no data type writes nothing and makes no key";
}

TEST_F(ApplySaveTest, RegistryDeletions) {
  TTWREC t = Reg(kDataDword);
  t.ValueOn = int32_t{1};
  t.ValueOffDelVal = true;
  SaveTweak(t, 1, "", false, Undo());
  EXPECT_EQ(Stored(t), "") << "deleting a value under a missing key leaves an empty key";
  SaveTweak(t, 0, "", false, Undo());
  {
    TVeskRegistry reg;
    reg.OpenKey(t.Path + "\\child\\grandchild");
  }
  t.ValueOnDelKey = true;
  t.ValueOnDelVal = true;
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(Stored(t), "") << "delete value wins when both are set";
  t.ValueOnDelVal = false;
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(Stored(t), "<missing key>") << "the key goes with everything below it";
}

// Refused changes are shown, by the key's full name, and change nothing: the dialog must not
// close as if the setting had been applied.
TEST_F(ApplySaveTest, RegistryRefusalsAreShown) {
  TTWREC t = Reg(kDataDword);
  t.ValueOn = int32_t{1};
  const std::string key = std::string("Unable to write to HKEY_CURRENT_USER\\") + ScratchKey::Path("tweak");
  auto message = [&](int radio) {
    NoRightsRegistry noRights;
    Override<RegistryApi> refusing(Os().registry, &noRights);
    try {
      SaveTweak(t, radio, "", false, Undo());
    } catch (const ShownError& e) {
      return std::string(e.what());
    }
    return std::string("<no error>");
  };
  EXPECT_EQ(message(0), key) << "a key that cannot be created";
  EXPECT_EQ(Stored(t), "<missing key>");
  t.ValueOffDelVal = true;
  EXPECT_EQ(message(1), "<no error>") << "a value under a missing key is already gone";

  SaveTweak(t, 0, "", false, Undo());
  {
    // The key can be opened but the value not set.
    class NoSetting final : public DelegatingRegistry {
      long SetValue(RegHandle, const std::string&, uint32_t, const uint8_t*, uint32_t) override {
        return win::kAccessDenied;
      }
    } noSetting;
    Override<RegistryApi> refusing(Os().registry, &noSetting);
    t.ValueOn = int32_t{7};
    EXPECT_THROW(SaveTweak(t, 0, "", false, Undo()), ShownError);
    t.ValueOn = int32_t{1};
  }
  EXPECT_EQ(Stored(t), "dword:1") << "the old value stays";
  EXPECT_EQ(message(1), key) << "a value that cannot be deleted (its key cannot be opened for it)";
  t.ValueOffDelVal = false;
  t.ValueOffDelKey = true;
  EXPECT_EQ(message(1), key) << "a key that cannot be deleted";
  EXPECT_EQ(Stored(t), "dword:1");
}

// A refused Save leaves nothing behind: no key it made on the way to the value, no undo file
// and no descript.ion line for a change that never happened, and no key of a tree half deleted.
// Only a change that did happen in part keeps its backup, and the message names it.
TEST_F(ApplySaveTest, RefusedSavesLeaveNothingBehind) {
  // A registry that refuses DELETE on one key, "Locked" (as an ACL of its own would), or only
  // the deletion itself of it, once every key opened for it.
  class RefusingDelete final : public DelegatingRegistry {
   public:
    explicit RefusingDelete(bool checkPasses) : checkPasses_(checkPasses) {}
    long OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
      *result = 0;
      if (!checkPasses_ && (access & win::kDelete) && Locked(subKey)) return win::kAccessDenied;
      return DelegatingRegistry::OpenKey(base, subKey, access, result);
    }
    long DeleteKey(RegHandle base, const std::string& subKey) override {
      return Locked(subKey) ? win::kAccessDenied : DelegatingRegistry::DeleteKey(base, subKey);
    }
    long OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override {
      *result = 0;
      if (!checkPasses_ && (access & win::kDelete) && Locked(Utf16ToUtf8(subKey))) return win::kAccessDenied;
      return DelegatingRegistry::OpenKeyW(base, subKey, access, result);
    }
    long DeleteKeyW(RegHandle base, const std::u16string& subKey) override {
      return Locked(Utf16ToUtf8(subKey)) ? win::kAccessDenied : DelegatingRegistry::DeleteKeyW(base, subKey);
    }

   private:
    static bool Locked(const std::string& subKey) { return UpperAscii(subKey).ends_with("LOCKED"); }
    bool checkPasses_;
  };
  class NoSetting final : public DelegatingRegistry {
    long SetValue(RegHandle, const std::string&, uint32_t, const uint8_t*, uint32_t) override { return win::kAccessDenied; }
  };
  auto keyExists = [](const std::string& relative) { return TVeskRegistry().KeyExists(ScratchKey::Path(relative)); };
  auto error = [&](const TTWREC& t, RegistryApi& registry) {
    Override<RegistryApi> refusing(Os().registry, &registry);
    try {
      SaveTweak(t, 0, "", false, Undo());
    } catch (const ShownError& e) {
      return std::string(e.what());
    }
    return std::string("<no error>");
  };
  const std::string unable = "Unable to write to HKEY_CURRENT_USER\\" + ScratchKey::Path("tree");

  TTWREC value = Reg(kDataDword);
  value.Path = ScratchKey::Path("made\\on\\the way");
  value.ValueOn = int32_t{1};
  // Windows creates a path key by key: a refusal on the way leaves the keys above it made.
  class RefusingTheLastKey final : public DelegatingRegistry {
    long CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
      const std::string above = subKey.substr(0, subKey.rfind('\\'));
      if (DelegatingRegistry::CreateKey(base, above, access, result) == win::kSuccess) CloseKey(*result);
      *result = 0;
      return win::kAccessDenied;
    }
  } refusingTheLastKey;
  NoSetting noSetting;
  for (RegistryApi* registry : std::initializer_list<RegistryApi*>{&refusingTheLastKey, &noSetting}) {
    EXPECT_NE(error(value, *registry), "<no error>");
    EXPECT_FALSE(keyExists("made")) << "the keys opening for write made are gone";
  }
  EXPECT_TRUE(ListFolder(Undo()).empty() || ListFolder(Undo()) == std::vector<std::string>{"descript.ion"});
  EXPECT_EQ(ReadBytes(Undo() + "descript.ion"), "") << "no line for a change that never happened";

  TTWREC tree = Reg(kDataDword);
  tree.Path = ScratchKey::Path("tree");
  tree.ValueOnDelKey = true;
  for (const char* key : {"tree\\a", "tree\\b\\Locked\\c", "tree\\z"}) TVeskRegistry().OpenKey(ScratchKey::Path(key));
  RefusingDelete refusedAtOnce(false);
  EXPECT_EQ(error(tree, refusedAtOnce), unable);
  for (const char* key : {"tree\\a", "tree\\b\\Locked\\c", "tree\\z"}) EXPECT_TRUE(keyExists(key)) << key << " was deleted";
  EXPECT_EQ(ReadBytes(Undo() + "descript.ion"), "");

  RefusingDelete refusedLate(true);
  const std::string message = error(tree, refusedLate);
  const std::vector<std::string> files = ListFolder(Undo());
  ASSERT_EQ(files.size(), 2u) << "the backup of what did change stays";
  EXPECT_EQ(message, unable + ". What was there before is saved in " + Undo() + files[0]);
  EXPECT_TRUE(keyExists("tree\\b\\Locked")) << "deleting stopped at the refused key";
}

// A key name with "]" or a line end cannot stand in the header line of a registry file: no
// backup, and so no Save, of a value below such a key or of a tree that holds one.
TEST_F(ApplySaveTest, KeyNamesNoRegistryFileHoldsAreNotSaved) {
  for (const std::string name : {"bracket]", "bracket]more", "line\r\nend", "line\nend", "line\rend"}) {
    SCOPED_TRACE(name);
    TTWREC value = Reg(kDataDword);
    value.Path = ScratchKey::Path(name);
    value.ValueOn = int32_t{1};
    TTWREC tree = Reg(kDataDword);
    tree.Path = ScratchKey::Path("holder");
    tree.ValueOnDelKey = true;
    TVeskRegistry().OpenKey(tree.Path + "\\" + name);
    for (const TTWREC* t : {&value, &tree}) {
      try {
        SaveTweak(*t, 0, "", false, Undo());
        ADD_FAILURE() << "saved";
      } catch (const ShownError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + Undo());
      }
    }
    EXPECT_EQ(Stored(value), "<missing key>");
    EXPECT_TRUE(TVeskRegistry().KeyExists(tree.Path + "\\" + name));
  }
}

TEST_F(ApplySaveTest, RegistryTypedValues) {
  TTWREC t = Reg(kDataDword);
  t.ByHands = true;
  for (auto [typed, stored] : {std::pair{"-1", "dword:-1"}, std::pair{"$FF", "dword:255"}, std::pair{"0x10", "dword:16"}}) {
    SaveTweak(t, 0, typed, false, Undo());
    EXPECT_EQ(Stored(t), stored) << typed;
  }
  try {
    SaveTweak(t, 0, "abc", false, Undo());
    FAIL() << "no error";
  } catch (const ShownError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (String) into type (Integer)");
  }
  EXPECT_EQ(Stored(t), "dword:16") << "nothing is written after a conversion error";
  EXPECT_THROW(SaveTweak(t, 0, "99999999999", false, Undo()), ShownError);
  try {
    SaveTweak(t, 0, "4294967296", false, Undo());
  } catch (const ShownError& e) {
    EXPECT_STREQ(e.what(), "Overflow while converting variant of type (String) into type (Integer)");
  }

  TTWREC s = Reg(kDataString);
  s.ByHands = true;
  SaveTweak(s, 0, "  spaced text  ", false, Undo());
  EXPECT_EQ(Stored(s), "sz:  spaced text  ");
}

TEST_F(ApplySaveTest, RegistryBinaryValues) {
  TTWREC t = Reg(kDataBin);
  t.DataSize = 2;
  t.ByHands = true;
  t.DefValue = TRaw{9, 9};
  SaveTweak(t, 0, "0aFF", false, Undo());
  EXPECT_EQ(Stored(t), "bin:10,255,");
  for (const char* bad : {"0AF", "0A FF", "0AFG", ""}) {
    SaveTweak(t, 0, "0AFF", false, Undo());
    SaveTweak(t, 0, bad, false, Undo());
    EXPECT_EQ(Stored(t), "bin:9,9,") << "invalid text saves the default: " << bad;
  }
  t.ByHands = false;
  t.ValueOn = TRaw{1};  // shorter than the size: padded, never read past
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(Stored(t), "bin:1,0,");
}

#ifdef _WIN32
// reg.exe of the system's own bitness: a 64-bit program on 64-bit Windows even when this test is
// 32-bit ("sysnative" is the folder WoW64 leaves alone). Nothing on a 32-bit system.
std::optional<std::string> SystemReg() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (sizeof(void*) == 4 && !wow64) return std::nullopt;
  char windows[MAX_PATH] = {};
  GetSystemWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + (wow64 ? "\\sysnative" : "\\system32") + "\\reg.exe";
}

// HKEY_LOCAL_MACHINE\SOFTWARE is where Windows reads machine settings only in the system's own
// view. A 32-bit module on 64-bit Windows must save there and read from there, not from the
// WOW6432Node copy that its own view would give it.
TEST_F(ApplySaveTest, HklmSoftwareIsTheViewOfTheSystemsOwnBitness) {
  std::optional<std::string> reg = SystemReg();
  if (!reg) GTEST_SKIP() << "a 32-bit system (or Wine prefix) has a single registry view";
  const std::string key = std::string("HKLM\\") + ScratchKey::kPath;
  DeleteRegistryTree(kHkeyLocalMachine, ScratchKey::kPath);
  TTWREC t = Reg(kDataDword);
  t.RootKey = kRootLocalMachine;
  t.Path = ScratchKey::kPath;
  t.ValueOn = int32_t{1};
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(ExitCodeOf(*reg, "query " + key + " /v Value"), 0u) << "the saved value is where Windows reads";

  ASSERT_EQ(ExitCodeOf(*reg, "add " + key + " /v Value /t REG_DWORD /d 7 /f"), 0u);
  CurrentValue current = ReadCurrentValue(t);
  EXPECT_EQ(current.State, ReadState::kFound);
  EXPECT_EQ(current.Value, TweakValue{int32_t{7}}) << "the state is read where Windows reads";
  DeleteRegistryTree(kHkeyLocalMachine, ScratchKey::kPath);
}
#endif

TEST(ParseHexValue, ExactDigitsOnly) {
  uint8_t bytes[2] = {7, 7};
  EXPECT_FALSE(ParseHexValue("0AF", 2, bytes));
  EXPECT_FALSE(ParseHexValue("0x0A", 2, bytes));
  EXPECT_EQ(bytes[0], 7) << "nothing is written before the checks pass";
  EXPECT_TRUE(ParseHexValue("0aFf", 2, bytes));
  EXPECT_EQ(bytes[0], 0x0A);
  EXPECT_EQ(bytes[1], 0xFF);
  EXPECT_TRUE(ParseHexValue("", 0, bytes));
  EXPECT_FALSE(ParseHexValue("00", 0, bytes));
}

TEST_F(ApplySaveTest, IniActions) {
  TTWREC t;
  t.PlugType = kPlugIni;
  t.Path = folder_.path("a.ini");
  t.Section = "OPTIONS";
  t.VarName = "Fast";
  t.DataType = kDataString;
  t.ValueOn = std::string("yes");
  t.ValueOffDelVal = true;
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(ReadBytes(t.Path), "[OPTIONS]\r\nFast=yes\r\n");
  SaveTweak(t, 1, "", false, Undo());
  EXPECT_EQ(ReadBytes(t.Path), "[OPTIONS]\r\n");
  t.DataType = kDataDword;
  t.ValueOn = int32_t{-5};
  SaveTweak(t, 0, "", false, Undo());
  WriteBytes(t.Path, ReadBytes(t.Path) + "[KEEP]\r\nk=1\r\n");
  t.ValueOnDelKey = true;
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(ReadBytes(t.Path), "[KEEP]\r\nk=1\r\n") << "delete key erases the section";
  t.DataType = kDataBin;
  t.ValueOnDelKey = false;
  t.ValueOn = TRaw{1};
  t.DataSize = 1;
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(ReadBytes(t.Path), "[KEEP]\r\nk=1\r\n") << "BIN INI tweaks write nothing";
}

TEST_F(ApplySaveTest, IniWriteRefusedRaises) {
  TTWREC t;
  t.PlugType = kPlugIni;
  t.Path = folder_.path("missing") + kPathDelim + "a.ini";
  t.Section = "S";
  t.VarName = "K";
  t.DataType = kDataString;
  t.ValueOn = std::string("v");
  EXPECT_THROW(SaveTweak(t, 0, "", false, Undo()), ShownError);
  EXPECT_EQ(ListFolder(Undo()), std::vector<std::string>{"descript.ion"}) << "no backup of a change that never happened";
  EXPECT_EQ(ReadBytes(Undo() + "descript.ion"), "");
}

TEST_F(ApplySaveTest, CfgActions) {
  TTWREC t;
  t.PlugType = kPlugCfg;
  t.Path = folder_.path("game.cfg");
  t.VarName = "cache";
  t.DataType = kDataDword;
  t.ValueOn = int32_t{128};
  t.ValueOffDelVal = true;
  WriteBytes(t.Path, "# settings\nname=x\n");
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(ReadBytes(t.Path), "# settings\r\nname=x\r\ncache=128\r\n");
  SaveTweak(t, 1, "", false, Undo());
  EXPECT_EQ(ReadBytes(t.Path), "# settings\r\nname=x\r\n");
  t.ValueOnDelKey = true;
  SaveTweak(t, 0, "", false, Undo());
  EXPECT_EQ(ReadBytes(t.Path), "# settings\r\nname=x\r\n") << "delete key changes nothing in a CFG file";
  t.ValueOnDelKey = false;
  t.ByHands = true;
  EXPECT_THROW(SaveTweak(t, 0, "abc", false, Undo()), ShownError);
  EXPECT_EQ(ReadBytes(t.Path), "# settings\r\nname=x\r\n");
}

// A line break or zero byte in a name or a text value (from a lone CR in a definition line, or
// from an environment variable) would add lines of its own to an INI or CFG file: another key,
// or a section; a name with "=", or an INI key that reads as a section header or a comment,
// would not be found again. Such a save is refused and the file left as it was.
TEST_F(ApplySaveTest, TextStoresTakeOnlyEntriesTheyGiveBack) {
  for (uint8_t plug : {kPlugIni, kPlugCfg}) {
    const std::string before = plug == kPlugIni ? "[S]\r\nk=1\r\n" : "k=1\r\n";
    std::vector<std::pair<std::string, std::string>> refused{
        {"k", "x\rinjected=1"}, {"k", "x\n[other]"}, {"k", std::string("x\0y", 3)}, {"k\r\nz", "x"}, {"a=b", "x"}};
    if (plug == kPlugIni) refused.insert(refused.end(), {{"[x]", "1"}, {";k", "1"}});
    for (const auto& [name, value] : refused) {
      TTWREC t;
      t.PlugType = plug;
      t.Path = folder_.path(plug == kPlugIni ? "a.ini" : "a.cfg");
      t.Section = "S";
      t.VarName = name;
      t.DataType = kDataString;
      t.ByHands = true;
      WriteBytes(t.Path, before);
      EXPECT_THROW(SaveTweak(t, 0, value, false, Undo()), ShownError) << int{plug};
      EXPECT_EQ(ReadBytes(t.Path), before) << int{plug};
    }
  }
}


// Going back to the default, for every form a DEFAULT> line takes in every store: the setting
// afterwards, and the undo file with its description's new value as Save words it.
TEST_F(ApplySaveTest, RestoreDefaultOfEveryForm) {
  struct Row {
    const char* What;
    uint8_t Plug;
    uint8_t Type;
    TweakValue Default;
    bool DelVal, DelKey;
    std::string Setting;  // afterwards; for a tweak without a default, as it was
    const char* NewText;  // the description's end; nullptr: nothing done
  };
  const std::string ini = "[OPTIONS]\r\nFast=old\r\n[KEEP]\r\nk=1\r\n", cfg = "name=x\r\nFast=old\r\n";
  const Row rows[] = {
      {"reg dword", kPlugReg, kDataDword, int32_t{400}, false, false, "dword:400", "400"},
      {"reg string", kPlugReg, kDataString, std::string("def"), false, false, "sz:def", "\"def\""},
      {"reg bin", kPlugReg, kDataBin, TRaw{0x0A, 0xFF}, false, false, "bin:10,255,", "0AFF"},
      {"reg delete value", kPlugReg, kDataDword, int32_t{0}, true, false, "", "deleted"},
      {"reg delete key", kPlugReg, kDataDword, int32_t{0}, false, true, "<missing key>", "deleted"},
      {"reg no default", kPlugReg, kDataDword, {}, false, false, "dword:7", nullptr},
      {"ini dword", kPlugIni, kDataDword, int32_t{400}, false, false, "[OPTIONS]\r\nFast=400\r\n[KEEP]\r\nk=1\r\n", "400"},
      {"ini string", kPlugIni, kDataString, std::string("def"), false, false,
       "[OPTIONS]\r\nFast=def\r\n[KEEP]\r\nk=1\r\n", "\"def\""},
      {"ini delete value", kPlugIni, kDataString, std::string(), true, false, "[OPTIONS]\r\n[KEEP]\r\nk=1\r\n",
       "deleted"},
      {"ini delete section", kPlugIni, kDataString, std::string(), false, true, "[KEEP]\r\nk=1\r\n", "deleted"},
      {"ini no default", kPlugIni, kDataString, {}, false, false, ini, nullptr},
      {"cfg dword", kPlugCfg, kDataDword, int32_t{400}, false, false, "name=x\r\nFast=400\r\n", "400"},
      {"cfg string", kPlugCfg, kDataString, std::string("def"), false, false, "name=x\r\nFast=def\r\n", "\"def\""},
      {"cfg delete value", kPlugCfg, kDataString, std::string(), true, false, "name=x\r\n", "deleted"},
      {"cfg delete key changes nothing", kPlugCfg, kDataString, std::string(), false, true, cfg, "deleted"},
      {"cfg no default", kPlugCfg, kDataString, {}, false, false, cfg, nullptr},
  };
  int number = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.What);
    TTWREC t = Reg(row.Type);
    t.TweakName = row.What;
    t.PlugType = row.Plug;
    t.DataSize = 2;
    t.ByHands = number % 2 == 1;  // typed-by-hand tweaks go back the same way
    t.DefValue = row.Default;
    t.DefDelVal = row.DelVal;
    t.DefDelKey = row.DelKey;
    t.Section = "OPTIONS";
    t.VarName = "Fast";
    const std::string name = "default" + std::to_string(++number);
    if (row.Plug == kPlugReg) {
      t.Path = ScratchKey::Path(name);
      TVeskRegistry reg;
      ASSERT_TRUE(reg.OpenKey(t.Path));
      const uint8_t old[2] = {1, 2};
      if (row.Type == kDataDword) reg.WriteInteger("Fast", 7);
      if (row.Type == kDataString) reg.WriteString("Fast", "old");
      if (row.Type == kDataBin) reg.WriteBinaryData("Fast", old, 2);
    } else {
      t.Path = folder_.path(name);
      WriteBytes(t.Path, row.Plug == kPlugIni ? ini : cfg);
    }
    const size_t before = ListFolder(Undo()).size();
    const std::string description = Exists(Undo() + "descript.ion") ? ReadBytes(Undo() + "descript.ion") : "";
    EXPECT_EQ(RestoreDefault(t, true, Undo()), row.NewText != nullptr);
    EXPECT_EQ(row.Plug == kPlugReg ? Stored(t) : ReadBytes(t.Path), row.Setting);
    const std::string added = Exists(Undo() + "descript.ion") ? ReadBytes(Undo() + "descript.ion").substr(description.size()) : "";
    if (!row.NewText) {
      EXPECT_EQ(ListFolder(Undo()).size(), before) << "no undo file";
      EXPECT_EQ(added, "");
      continue;
    }
    EXPECT_EQ(ListFolder(Undo()).size(), before + (before == 0 ? 2 : 1)) << "one undo file (and descript.ion)";
    EXPECT_TRUE(added.ends_with(std::string(" -> ") + row.NewText + "\r\n")) << added;
  }

  // A refused one leaves no undo file behind.
  TTWREC refused = Reg(kDataDword);
  refused.Path = ScratchKey::Path("refused");
  refused.DefValue = int32_t{1};
  const std::vector<std::string> files = ListFolder(Undo());
  NoRightsRegistry noRights;
  {
    Override<RegistryApi> refusing(Os().registry, &noRights);
    EXPECT_THROW(RestoreDefault(refused, true, Undo()), ShownError);
  }
  EXPECT_EQ(Stored(refused), "<missing key>");
  EXPECT_EQ(ListFolder(Undo()), files);
}

}  // namespace
}  // namespace qzr::test
