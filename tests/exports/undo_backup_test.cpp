// The undo files Save writes, through the entry points as a host drives them: one table of
// registry changes (each file compared with its golden copy and imported to give back exactly
// the registry as it was: under Wine with the system's own regedit and, separately, reg import;
// natively with the substitute's import), one of INI and CFG files
// (a byte-for-byte copy, or a note that there was none), and the refusal when the backup cannot
// be written.
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "exports/host_calls.h"
#include "exports/scripted_dialogs.h"
#include "interface/exports.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "support/fixed_clock.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {
using namespace std::string_literals;

const std::string kDelim(1, kPathDelim);
const std::string kStamp = "20240305-140730";  // the fixed clock's time

// A string's data as the wide calls hold it; `text` carries the zeros a multi-string needs.
std::string Wide(const std::u16string& text) { return Utf16LeBytes(text + u'\0'); }

// Every key below the scratch key (by its path from it, "" for the scratch key itself) with every
// value's type and data, read with the wide calls: what an import must give back exactly.
using Values = std::map<std::u16string, std::pair<uint32_t, std::string>>;
using Tree = std::map<std::u16string, Values>;

void ReadTree(RegHandle key, const std::u16string& path, Tree* tree) {
  Values& values = (*tree)[path];
  std::u16string name;
  uint32_t type = 0;
  std::string data;
  for (uint32_t i = 0; Os().registry->EnumValueW(key, i, &name, &type, &data) == win::kSuccess; ++i)
    values[name] = {type, data};
  for (uint32_t i = 0; Os().registry->EnumKeyW(key, i, &name) == win::kSuccess; ++i) {
    RegHandle child = 0;
    ASSERT_EQ(Os().registry->OpenKeyW(key, name, win::kKeyRead, &child), win::kSuccess);
    ReadTree(child, path.empty() ? name : path + u"\\" + name, tree);
    Os().registry->CloseKey(child);
  }
}

Tree Snapshot() {
  Tree tree;
  RegHandle scratch = 0;
  if (Os().registry->OpenKey(kHkeyCurrentUser, ScratchKey::kPath, win::kKeyRead, &scratch) != win::kSuccess) return tree;
  ReadTree(scratch, u"", &tree);
  Os().registry->CloseKey(scratch);
  return tree;
}

// Puts the scratch key's tree back as `tree` holds it.
void Restore(const Tree& tree) {
  for (const auto& [path, values] : Snapshot())
    if (!path.empty() && path.find(u'\\') == std::u16string::npos)
      DeleteRegistryTree(kHkeyCurrentUser, ScratchKey::Path(Utf16ToUtf8(path)));
  for (const auto& [path, values] : tree) {
    RegHandle key = 0;
    ASSERT_EQ(Os().registry->CreateKeyW(kHkeyCurrentUser, Utf8ToUtf16(ScratchKey::Path(Utf16ToUtf8(path))),
                                        win::kKeyAllAccess, &key),
              win::kSuccess);
    for (const auto& [name, value] : values) Os().registry->SetValueW(key, name, value.first, value.second);
    Os().registry->CloseKey(key);
  }
}

class UndoBackupTest : public PluginTest {
 protected:
  UndoBackupTest() : clock_(*Os().system, 30), clockOverride_(Os().system, &clock_) {
    std::filesystem::create_directories(std::filesystem::path(Module() + "plugins"));
    Startup();
    State().ModuleDir = Module();
    Script() = DialogScript{};
  }

  std::string Module() const { return folder_.path("module") + kDelim; }
  std::string Undo() const { return Module() + "qzr_undo" + kDelim; }

  // Lists the definitions as a host does after loading the module.
  void Load(const std::vector<std::pair<std::string, std::string>>& definitions) {
    for (size_t i = 0; i < definitions.size(); ++i)
      WriteBytes(Module() + "plugins" + kDelim + std::to_string(i) + ".tweak",
                 "TWEAKNAME> " + definitions[i].first + "\r\n" + definitions[i].second);
    HostConfigure(Module() + "wfx.ini");
    ASSERT_EQ(HostList().size(), definitions.size());
  }

  // The undo files of a tweak, in the order they were written.
  std::vector<std::string> UndoFilesOf(const std::string& tweak) const {
    std::vector<std::string> found;
    for (const std::string& name : ListFolder(Undo()))
      if (name.ends_with(" " + tweak + ".reg") || name.find(" " + tweak + ".") != std::string::npos ||
          name.find(" " + tweak + " (no file)") != std::string::npos)
        found.push_back(name);
    return found;
  }

  static void Set(const std::string& key, const std::string& name, uint32_t type, const std::string& data) {
    RegHandle h = 0;
    ASSERT_EQ(Os().registry->CreateKey(kHkeyCurrentUser, ScratchKey::Path(key), win::kKeyAllAccess, &h), win::kSuccess);
    Os().registry->SetValue(h, name, type, reinterpret_cast<const uint8_t*>(data.data()), static_cast<uint32_t>(data.size()));
    Os().registry->CloseKey(h);
  }
  // As Set, with the wide calls: names in any script, strings' data as UTF-16.
  static void SetW(const std::u16string& key, const std::u16string& name, uint32_t type, const std::string& data) {
    RegHandle h = 0;
    ASSERT_EQ(Os().registry->CreateKeyW(kHkeyCurrentUser, Utf8ToUtf16(ScratchKey::Path("")) + key, win::kKeyAllAccess, &h),
              win::kSuccess);
    ASSERT_EQ(Os().registry->SetValueW(h, name, type, data), win::kSuccess);
    Os().registry->CloseKey(h);
  }

  TempFolder folder_;
  ScratchKey scratch_;
  FixedClock clock_;
  Override<SystemApi> clockOverride_;
};

#ifdef _WIN32
// The system's regedit. HKEY_CURRENT_USER\Software is one key in both registry views, so a
// regedit of either bitness reads and writes the same scratch key.
std::string RegEdit() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + "\\regedit.exe";
}

// The registry below the scratch key as Wine's (or Windows') own regedit exports it.
std::string Exported(const std::string& file) {
  DeleteFileA(file.c_str());
  ExitCodeOf(RegEdit(), "/e \"" + file + "\" HKEY_CURRENT_USER\\" + ScratchKey::kPath);
  return ReadBytes(file);
}

std::string SystemProgram(const char* name) {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  return std::string(system) + "\\" + name;
}
#endif

// The ways a user restores an undo file: the registry editor and reg import on Windows; the
// substitute's import (reg import's stand-in) natively.
struct Importer {
  const char* name;
  std::function<unsigned long(const std::string& file)> run;
};
std::vector<Importer> Importers() {
#ifdef _WIN32
  return {{"regedit /s", [](const std::string& file) { return ExitCodeOf(RegEdit(), "/s \"" + file + "\""); }},
          {"reg import", [](const std::string& file) { return ExitCodeOf(SystemProgram("reg.exe"), "import \"" + file + "\""); }}};
#else
  return {{"the substitute's import", [](const std::string& file) {
             return static_cast<unsigned long>(Os().system->ImportRegistryFileAsAdministrator(ReadBytes(file), nullptr));
           }}};
#endif
}

// Every kind of registry change: the file restores the value with its type, its absence, the
// keys the Save makes, or the whole tree of a key it deletes.
TEST_F(UndoBackupTest, RegistryChangesAreUndoneByImportingTheFile) {
  const std::string reg = "ROOTKEY> HKCU\r\nPATH> " + std::string(ScratchKey::kPath) + "\\";
  struct Case {
    std::string tweak, definition, golden;
    std::function<void()> prepare;
  };
  const std::string longBytes = [] {
    std::string b;
    for (int i = 0; i < 100; ++i) b += static_cast<char>(i * 7);
    return b;
  }();
  const std::vector<Case> cases{
      {"Set over another type", reg + "Typed\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\n", "over_another_type.reg",
       [] { Set("Typed", "Flag", win::kRegSz, "old \"text\"\0"s); }},
      {"Set where nothing was", reg + "Fresh\\Deeper\r\nVALUENAME> Name\r\nVALUETYPE> STRING\r\nVALUEON> new\r\n",
       "where_nothing_was.reg", [] {}},
      {"Set a missing value", reg + "Bare\r\nVALUENAME> Bytes\r\nVALUETYPE> BIN\r\nSIZE> 2\r\nVALUEON> 0102\r\n",
       "missing_value.reg", [] { Set("Bare", "keep", win::kRegDword, "\x05\0\0\0"s); }},
      {"Delete a value", reg + "Del\r\nVALUENAME> Path\r\nVALUETYPE> STRING\r\nVALUEON> #SYSDELVAL\r\n", "delete_value.reg",
       [] { Set("Del", "Path", win::kRegExpandSz, "%TEMP%\\x\0"s); }},
      // A name longer than a line: the hex list starts on the next line, after "=hex:\".
      {"Set a long name", reg + "Long\r\nVALUENAME> " + std::string(90, 'L') + "\r\nVALUETYPE> BIN\r\nSIZE> 2\r\nVALUEON> 0102\r\n",
       "long_name.reg", [] { Set("Long", std::string(90, 'L'), win::kRegBinary, "\x0a\x0b\x0c"s); }},
      {"Delete a key", reg + "Tree\r\nVALUENAME> x\r\nVALUETYPE> DWORD\r\nVALUEON> #SYSDELKEY\r\n", "delete_key.reg",
       [&] {
         Set("Tree", "", win::kRegSz, "default\0"s);
         Set("Tree", "C:\\Path \"quoted\"", win::kRegSz, "back\\slash \"q\"\r\nnext line\0"s);
         SetW(u"Tree", u"\u041f\u0440\u0438\u0432\u0435\u0442", win::kRegSz, Wide(u"\u0442\u0435\u043a\u0441\u0442"));  // Cyrillic
         Set("Tree", "dword", win::kRegDword, "\x78\x56\x34\x12"s);
         Set("Tree", "qword", win::kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s);
         Set("Tree", "expand", win::kRegExpandSz, "%SystemRoot%\\x\0"s);
         SetW(u"Tree", u"multi", win::kRegMultiSz, Wide(u"one\0two \"2\"\0\u0430\u0431\0"s));
         Set("Tree", "binary", win::kRegBinary, longBytes);
         Set("Tree", "none", win::kRegNone, "\x01\x02"s);
         Set("Tree\\Sub", "odd type", 0x1234u, "raw"s);
         Set("Tree\\Sub", "empty", win::kRegBinary, "");
         Set("Tree\\Sub\\Deep", "leaf", win::kRegSz, "\0"s);
         Set("Tree\\Empty", "gone", win::kRegDword, "\0\0\0\0"s);
         RegHandle h = 0;
         Os().registry->OpenKey(kHkeyCurrentUser, ScratchKey::Path("Tree\\Empty"), win::kKeyAllAccess, &h);
         Os().registry->DeleteValue(h, "gone");
         Os().registry->CloseKey(h);
       }},
      // Key names, value names and data in Cyrillic, Chinese and emoji, of every type.
      {"Delete a Unicode key", reg + "Unicode\r\nVALUENAME> x\r\nVALUETYPE> DWORD\r\nVALUEON> #SYSDELKEY\r\n",
       "delete_unicode_key.reg", [] {
         SetW(u"Unicode", u"", win::kRegSz, Wide(u"\u041f\u0440\u0438\u0432\u0435\u0442, \u4e16\u754c \U0001F600"));
         SetW(u"Unicode", u"\u0418\u043c\u044f \"\u4e2d\" ]=", win::kRegSz, Wide(u"\\ \"\u0442\u0435\u043a\u0441\u0442\" \U0001F680"));
         SetW(u"Unicode", u"\u4e2d\u6587", win::kRegExpandSz, Wide(u"%TEMP%\\\u6587\u4ef6"));
         SetW(u"Unicode", u"\U0001F600 multi", win::kRegMultiSz, Wide(u"\u043e\u0434\u0438\u043d\0\u4e8c\0\U0001F680\0"s));
         SetW(u"Unicode", u"\u0447\u0438\u0441\u043b\u043e", win::kRegDword, "\x01\x02\x03\x04"s);
         SetW(u"Unicode", u"\u6570\u5b57", win::kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s);
         SetW(u"Unicode", u"\u0431\u0430\u0439\u0442\u044b \U0001F4BE", win::kRegBinary, std::string(30, '\x5a'));
         SetW(u"Unicode", u"\u65e0", win::kRegNone, "\x01\x02"s);
         SetW(u"Unicode\\\u041a\u043b\u044e\u0447", u"\u0434\u0430", win::kRegSz, Wide(u"\u0434\u0430"));
         SetW(u"Unicode\\\u4e2d\u6587", u"\U0001F600", win::kRegSz, Wide(u"\U0001F680 \u706b\u7bad"));
         SetW(u"Unicode\\\u4e2d\u6587\\\U0001F600 \u0441\u043c\u0430\u0439\u043b", u"\u591a", win::kRegMultiSz,
              Wide(u"\u4e00\0\U0001F4A9\0"s));
       }}};
  std::vector<std::pair<std::string, std::string>> definitions;
  for (const Case& c : cases) definitions.emplace_back(c.tweak, c.definition);
  Load(definitions);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.tweak);
    c.prepare();
    const Tree before = Snapshot();
#ifdef _WIN32
    const std::string exported = Exported(folder_.path("before.reg"));
    ASSERT_FALSE(exported.empty());
#endif
    EXPECT_EQ(HostOpen(c.tweak + "."), host::kFsExecOk);
    EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front();
    std::vector<std::string> files = UndoFilesOf(c.tweak);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].starts_with(kStamp)) << files[0];
    EXPECT_EQ(ReadBytes(Undo() + files[0]), ReadBytes(SourcePath("tests/golden/undo/" + c.golden))) << files[0];
    const Tree saved = Snapshot();
    for (const Importer& importer : Importers()) {
      SCOPED_TRACE(importer.name);
      Restore(saved);
      ASSERT_EQ(Snapshot(), saved);
      EXPECT_EQ(importer.run(Undo() + files[0]), 0u);
      EXPECT_EQ(Snapshot(), before) << "importing the file gives back the registry as it was";
#ifdef _WIN32
      EXPECT_EQ(Exported(folder_.path("after.reg")), exported) << "as the registry editor sees it too";
#endif
    }
  }
  EXPECT_EQ(ReadBytes(Undo() + "descript.ion"), ReadBytes(SourcePath("tests/golden/undo/descript.ion")));
}

// INI and CFG files: the copy holds the very bytes (odd line ends, no last line end), a missing
// file is recorded as missing, and the descript.ion line says where the file belongs.
TEST_F(UndoBackupTest, FilesAreCopiedAsTheyWere) {
  const std::string user = folder_.path("user") + kDelim;
  const std::string odd = "; kept\n[Options]\r\nFast=no\r\nOther=\xe0\xe1";
  struct Case {
    std::string tweak, type, file;
    std::optional<std::string> bytes;  // nothing: no such file
    std::string copyName;
    std::optional<std::string> copy;  // nothing: the note that there was no file
    std::string description;
  };
  const std::vector<Case> cases{
      {"INI file", "INI", "app.ini", odd, "INI file.ini", odd, "[OPTIONS] Fast: \"no\" -> \"yes\""},
      {"INI missing", "INI", "none.ini", std::nullopt, "INI missing (no file).txt", std::nullopt,
       "[OPTIONS] Fast: no file -> \"yes\""},
      {"CFG file", "CFG", ".npmrc", "a=1\rFast=slow\n\n", "CFG file.cfg", "a=1\rFast=slow\n\n", "Fast: \"slow\" -> \"yes\""},
      // Opening a CFG tweak makes its missing file, empty: that is what the Save replaces.
      {"CFG missing", "CFG", "none.cfg", std::nullopt, "CFG missing.cfg", "", "Fast: no value -> \"yes\""}};
  std::vector<std::pair<std::string, std::string>> definitions;
  for (const Case& c : cases)
    definitions.emplace_back(c.tweak, "TYPE> " + c.type + "\r\nPATH> " + user + c.file +
                                          "\r\nSECTION> Options\r\nVALUENAME> Fast\r\nVALUETYPE> STRING\r\nVALUEON> yes\r\n");
  std::filesystem::create_directories(std::filesystem::path(user));
  Load(definitions);
  std::string descriptions;
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.tweak);
    if (c.bytes) WriteBytes(user + c.file, *c.bytes);
    EXPECT_EQ(HostOpen(c.tweak + "."), host::kFsExecOk);
    const std::string name = kStamp + (i == 0 ? "" : "-00" + std::to_string(i + 1)) + " " + c.copyName;
    ASSERT_TRUE(Exists(Undo() + name)) << name;
    if (c.copy) EXPECT_EQ(ReadBytes(Undo() + name), *c.copy) << "a copy of the very bytes";
    else EXPECT_EQ(ReadBytes(Undo() + name), user + c.file + " did not exist before this change; delete it to undo the change.\r\n");
    EXPECT_NE(ReadBytes(user + c.file), c.bytes.value_or("")) << "and then the change";
    descriptions += "\"" + name + "\" " + user + c.file + "; " + c.tweak + ", 2024-03-05 14:07:30, " + c.description + "\r\n";
  }
  EXPECT_EQ(ReadBytes(Undo() + "descript.ion"), descriptions);
}

// A backup that cannot be written stops the Save: the setting and the file stay as they were and
// the message names the backup.
TEST_F(UndoBackupTest, NoBackupNoChange) {
  const std::string user = folder_.path("user") + kDelim;
  std::filesystem::create_directories(std::filesystem::path(user));
  Load({{"Registry", "ROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Kept") +
                         "\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\n"},
        {"Settings", "TYPE> CFG\r\nPATH> " + user + "a.cfg\r\nVALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\n"}});
  Set("Kept", "Flag", win::kRegDword, "\x07\0\0\0"s);
  WriteBytes(user + "a.cfg", "Flag=7\n");
  auto unchanged = [&] {
    uint32_t type = 0, size = 4;
    uint8_t data[4] = {};
    RegHandle h = 0;
    Os().registry->OpenKey(kHkeyCurrentUser, ScratchKey::Path("Kept"), win::kKeyRead, &h);
    Os().registry->QueryValue(h, "Flag", &type, data, &size);
    Os().registry->CloseKey(h);
    EXPECT_EQ(data[0], 7) << "the registry value is as it was";
    EXPECT_EQ(ReadBytes(user + "a.cfg"), "Flag=7\n") << "the file is as it was";
  };
  std::vector<std::function<void()>> failures{
      // a file where the folder should be
      [&] { WriteBytes(Module() + "qzr_undo", "not a folder"); },
#ifndef _WIN32
      // a write that fails, and a descript.ion line that cannot be added (the file goes again)
      [&] { posix::Faults::Fail("CreateNew", win::kDiskFull, "qzr_undo"); },
      [&] { posix::Faults::Fail("AppendTo", win::kDiskFull, "descript.ion"); },
#endif
  };
  for (size_t i = 0; i < failures.size(); ++i) {
    SCOPED_TRACE(i);
#ifndef _WIN32
    posix::ScopedFaults faults;
#endif
    std::filesystem::remove_all(std::filesystem::path(Module() + "qzr_undo"));
    failures[i]();
    for (const std::string tweak : {"Registry", "Settings"}) {
      ui_.messages.clear();
      EXPECT_EQ(HostOpen(tweak + "."), host::kFsExecOk);
      ASSERT_EQ(ui_.messages.size(), 1u);
      EXPECT_EQ(ui_.messages[0], "Unable to write to " + Undo() + kStamp + " " + tweak + (tweak == "Registry" ? ".reg" : ".cfg"));
      unchanged();
    }
    EXPECT_TRUE(UndoFilesOf("Registry").empty() && UndoFilesOf("Settings").empty()) << "no part of a backup is left";
  }
}

}  // namespace
}  // namespace qzr::test
