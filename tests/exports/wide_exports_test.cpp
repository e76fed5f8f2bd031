// The wide entry points against their narrow twins, as the hosts call them: the same listing
// (a tweak named in Cyrillic among them), every column of every tweak in both languages, the
// default view, the icons, State set through either call, "open" and "quote", and a report copied
// out. What a narrow host sees is the wide text in the ANSI code page. Russian columns through
// the wide calls are right whatever that code page is (under Wine it is Western).
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "exports/host_calls.h"
#include "exports/scripted_dialogs.h"
#include "interface/content_exports.h"
#include "base/path_text.h"
#include "interface/exports.h"
#include "plugin/content_fields.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "stores/vesk_registry.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "texts/dialog_texts.h"
#include "texts/field_texts.h"
#include "util/utf16.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

const std::string kDelim(1, kPathDelim);
const std::u16string kWideDelim(1, static_cast<char16_t>(kPathDelim));
// Named in the ANSI code page as the definitions are: Cyrillic where the code page has it.
const std::string kCyrillicName = "Русский переключатель";

std::string Ansi(const std::string& utf8) { return Os().system->Utf8ToAnsi(utf8); }
// A wide text as a narrow host sees the same text: in the ANSI code page.
std::string AnsiOf(const std::u16string& wide) { return Ansi(Utf16ToUtf8(wide)); }

struct Seen {
  int Code = 0;
  std::string Text;  // narrow texts as they are, wide ones in the ANSI code page; "0"/"1" for a boolean
  bool operator==(const Seen&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Seen& s) { return out << s.Code << " \"" << s.Text << "\""; }

class WideExportsTest : public PluginTest {
 protected:
  WideExportsTest() {
    fs::create_directories(fs::path(Module() + "plugins"));
    fs::create_directories(fs::path(User()));
    Startup();
    State().ModuleDir = Module();
    const std::string reg = "ROOTKEY> HKCU\r\nPATH> " + ScratchKey::Path("Wide") + "\r\n";
    Definition("switch.tweak", "TWEAKNAME> Registry switch\r\n" + reg +
                                   "VALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    Definition("cyrillic.tweak", "TWEAKNAME> " + Ansi(kCyrillicName) + "\r\n" + reg +
                                     "VALUENAME> Other\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\n");
    // What a best-fit conversion would make of "Chinese 中.": a wide call must not find it.
    Definition("question.tweak", "TWEAKNAME> Chinese ?\r\n" + reg +
                                     "VALUENAME> Flag\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\n");
    Definition("typed.tweak", "TWEAKNAME> Typed delay\r\n" + reg +
                                  "VALUENAME> Delay\r\nVALUETYPE> STRING\r\nNOTBOOL> 1\r\nDEFAULT> 400\r\n");
    Definition("ini.tweak", "TWEAKNAME> INI switch\r\nTYPE> INI\r\nPATH> " + User() +
                                "app.ini\r\nSECTION> Options\r\nVALUENAME> Fast\r\nVALUETYPE> STRING\r\n"
                                "VALUEON> yes\r\nVALUEOFF> #SYSDELVAL\r\nDEFAULT> #SYSDELVAL\r\n");
    HostConfigure(Module() + "wfx.ini");
    Script() = DialogScript{};
  }

  std::string Module() const { return folder_.path("module") + kDelim; }
  std::string User() const { return folder_.path("user") + kDelim; }
  void Definition(const std::string& name, const std::string& bytes) {
    WriteBytes(Module() + "plugins" + kDelim + name, bytes);
  }
  static int32_t Flag() {
    TVeskRegistry reg;
    if (!reg.OpenKeyReadOnly(ScratchKey::Path("Wide")) || !reg.ValueExists("Flag")) return -1;
    return reg.ReadInteger("Flag");
  }

  // FsFindFirstW to FsFindClose, as HostList does it narrow.
  static std::vector<std::u16string> WideList() {
    std::vector<std::u16string> names;
    host::FindDataW found{};
    char16_t path[] = u"\\";
    void* handle = FsFindFirstW(path, &found);
    if (handle == reinterpret_cast<void*>(intptr_t{-1})) return names;
    do names.emplace_back(found.cFileName);
    while (FsFindNextW(handle, &found) == -1);
    EXPECT_EQ(FsFindClose(handle), 0);
    return names;
  }

  // A text field counts as ft_string either way: the wide calls answer ft_stringw for every text.
  static Seen NarrowField(const std::string& name, int index) {
    std::string remote = kDelim + name;
    char buffer[512];
    std::memset(buffer, 0x7f, sizeof buffer);
    const int code = FsContentGetValue(remote.data(), index, 0, buffer, sizeof buffer, 0);
    if (code == host::kFtBoolean) return Seen{code, buffer[0] ? "1" : "0"};
    if (code == host::kFtString || code == host::kFtMultipleChoice) return Seen{host::kFtString, buffer};
    return Seen{code, ""};
  }
  static Seen WideField(const std::u16string& name, int index) {
    std::u16string remote = kWideDelim + name;
    char16_t buffer[256];
    std::fill(std::begin(buffer), std::end(buffer), u'\x7f');
    const int code = FsContentGetValueW(remote.data(), index, 0, buffer, sizeof buffer, 0);
    if (code == host::kFtBoolean) return Seen{code, buffer[0] ? "1" : "0"};
    EXPECT_NE(code, host::kFtString) << "a wide call answers texts as ft_stringw";
    EXPECT_NE(code, host::kFtMultipleChoice) << "a wide call answers texts as ft_stringw";
    if (code == host::kFtStringW) return Seen{host::kFtString, AnsiOf(buffer)};
    return Seen{code, ""};
  }
  static std::u16string WideState(const std::u16string& name) {
    std::u16string remote = kWideDelim + name;
    char16_t buffer[64] = {};
    EXPECT_EQ(FsContentGetValueW(remote.data(), 0, 0, buffer, sizeof buffer, 0), host::kFtStringW);
    return buffer;
  }

  TempFolder folder_;
  ScratchKey scratch_;
};

TEST_F(WideExportsTest, NarrowAndWideAgreeOnTheListingEveryColumnTheViewAndTheIcons) {
  const std::vector<std::string> narrow = HostList();
  const std::vector<std::u16string> wide = WideList();
  ASSERT_EQ(narrow.size(), 5u);
  ASSERT_EQ(wide.size(), narrow.size());
  for (size_t i = 0; i < narrow.size(); ++i) EXPECT_EQ(AnsiOf(wide[i]), narrow[i]) << i;
  const std::u16string cyrillic = Utf8ToUtf16(Os().system->AnsiToUtf8(Ansi(kCyrillicName) + "."));
  EXPECT_NE(std::find(wide.begin(), wide.end(), cyrillic), wide.end()) << "the Cyrillic name, whole";

  WriteBytes(User() + "app.ini", "[Options]\r\nFast=yes\r\n");
  for (uint8_t language : {kEnglish, kRussian}) {
    State().Language = language;
    for (size_t i = 0; i < narrow.size(); ++i)
      for (int field = -1; field <= kContentFieldCount; ++field)
        EXPECT_EQ(WideField(wide[i], field), NarrowField(narrow[i], field)) << narrow[i] << " field " << field;
    for (const char* dot : {".", ".."})
      EXPECT_EQ(WideField(Utf8ToUtf16(dot), 0), NarrowField(dot, 0)) << dot;

    char contents[256], headers[256], widths[256], options[256];
    char16_t contentsW[256], headersW[256], widthsW[256], optionsW[256];
    ASSERT_EQ(FsContentGetDefaultView(contents, headers, widths, options, 256), 1);
    ASSERT_EQ(FsContentGetDefaultViewW(contentsW, headersW, widthsW, optionsW, 256), 1);
    EXPECT_EQ(AnsiOf(contentsW), contents);
    EXPECT_EQ(AnsiOf(headersW), headers);
    EXPECT_EQ(AnsiOf(widthsW), widths);
    EXPECT_EQ(AnsiOf(optionsW), options);
  }
  for (size_t i = 0; i < narrow.size(); ++i) {
    std::u16string remote = kWideDelim + wide[i];
    void* icon = nullptr;
    EXPECT_EQ(FsExtractCustomIconW(remote.data(), 0, &icon), HostIcon(narrow[i])) << narrow[i];
  }
}

// Under Wine the test's process has a Western ANSI code page, which holds no Cyrillic letter: the
// narrow calls would show "??", the wide ones show the Russian texts.
TEST_F(WideExportsTest, RussianColumnsThroughTheWideCallsWhateverTheCodePage) {
  HostList();
  State().Language = kRussian;
  EXPECT_EQ(WideState(u"Registry switch."), Utf8ToUtf16(texts::kSwitchOff.Pick(kRussian)));
  char16_t contents[256], headers[256], widths[256], options[256];
  ASSERT_EQ(FsContentGetDefaultViewW(contents, headers, widths, options, 256), 1);
  EXPECT_EQ(std::u16string(headers), Utf8ToUtf16(std::string(texts::kHeaderState.Pick(kRussian)) + "\\n" +
                                                 std::string(texts::kHeaderDefault.Pick(kRussian)) + "\\n" +
                                                 std::string(texts::kHeaderLocation.Pick(kRussian))));
}

TEST_F(WideExportsTest, StateSetThroughEitherCallAsTheHostPassesIt) {
  HostList();
  const bool cyrillicInAnsi = ExactAnsi(std::string(texts::kSwitchOn.Pick(kRussian))).has_value();
  struct Row {
    const char* what;
    bool wide;
    std::u16string name;
    int field;
    int type;
    std::u16string text;  // narrow rows pass it in the ANSI code page
    int32_t flag;         // for ft_boolean
    int code;
    int32_t after;  // Flag in the registry afterwards
  };
  const std::u16string sw = u"Registry switch.";
  const Row rows[] = {
      {"narrow choice", false, sw, 0, host::kFtMultipleChoice, u"Yes", 0, host::kFtSetSuccess, 1},
      {"wide ft_stringw", true, sw, 0, host::kFtStringW, u"No", 0, host::kFtSetSuccess, 0},
      {"wide choice in ANSI", true, sw, 0, host::kFtMultipleChoice, u"yes", 0, host::kFtSetSuccess, 1},
      {"wide boolean", true, sw, 0, host::kFtBoolean, u"", 0, host::kFtSetSuccess, 0},
      {"wide Russian yes", true, sw, 0, host::kFtStringW, u"Да", 0,
       cyrillicInAnsi ? host::kFtSetSuccess : host::kFtFileError, cyrillicInAnsi ? 1 : 0},
      {"wide neither choice", true, sw, 0, host::kFtStringW, u"maybe", 0, host::kFtFileError, cyrillicInAnsi ? 1 : 0},
      {"wide other field", true, sw, 1, host::kFtStringW, u"Yes", 0, host::kFtNoSuchField, cyrillicInAnsi ? 1 : 0},
      {"wide name without ANSI form", true, u"Chinese 中.", 0, host::kFtStringW, u"Yes", 0,
       host::kFtFileError, cyrillicInAnsi ? 1 : 0},
      {"wide typed by hand", true, u"Typed delay.", 0, host::kFtStringW, u"No", 0, host::kFtFileError,
       cyrillicInAnsi ? 1 : 0},
  };
  for (const Row& row : rows) {
    int code = 0;
    std::string ansi = AnsiOf(row.text);
    int32_t flag = row.flag;
    void* value = row.type == host::kFtBoolean ? static_cast<void*>(&flag) : static_cast<void*>(ansi.data());
    if (row.wide) {
      std::u16string remote = kWideDelim + row.name, text = row.text;
      if (row.type == host::kFtStringW) value = text.data();
      code = FsContentSetValueW(remote.data(), row.field, 0, row.type, value, 3);
      EXPECT_EQ(FsContentSetValueW(nullptr, -1, 0, 0, nullptr, 0), host::kFtSetSuccess) << row.what;
    } else {
      std::string remote = kDelim + AnsiOf(row.name);
      code = FsContentSetValue(remote.data(), row.field, 0, row.type, value, 3);
      EXPECT_EQ(FsContentSetValue(nullptr, -1, 0, 0, nullptr, 0), host::kFtSetSuccess) << row.what;
    }
    EXPECT_EQ(code, row.code) << row.what;
    EXPECT_EQ(Flag(), row.after) << row.what;
  }
}

TEST_F(WideExportsTest, OpenQuoteAndCopyOutThroughTheWideCalls) {
  HostList();
  std::u16string name = kWideDelim + u"Registry switch.";
  name.resize(260);  // the host's buffer
  EXPECT_EQ(FsExecuteFileW(nullptr, name.data(), std::u16string(u"open").data()), host::kFsExecOk);
  EXPECT_EQ(Script().ApplyShown, 1);
  EXPECT_EQ(Flag(), 1) << "the dialog saved \"on\"";
  EXPECT_EQ(FsExecuteFileW(nullptr, std::u16string(kWideDelim).data(),
                           std::u16string(u"quote off \"Registry switch\"").data()),
            host::kFsExecOk);
  EXPECT_EQ(Flag(), 0);
  EXPECT_EQ(FsExecuteFileW(nullptr, (kWideDelim + u"Chinese 中.").data(),
                           std::u16string(u"open").data()),
            host::kFsExecOk);
  EXPECT_EQ(Script().ApplyShown, 1) << "a name without ANSI form opens nothing";

  ASSERT_EQ(HostGetFile("Registry switch.", User() + "narrow.txt"), host::kFsFileOk);
  const std::vector<std::string> targets = {"wide.txt", "отчёт 报告.txt"};
  for (const std::string& target : targets) {
    std::u16string local = Utf8ToUtf16(User() + target);
    EXPECT_EQ(FsGetFileW(name.data(), local.data(), 0, nullptr), host::kFsFileOk) << target;
    EXPECT_EQ(ReadBytes(User() + target), ReadBytes(User() + "narrow.txt")) << target;
  }
  std::u16string nowhere = Utf8ToUtf16(User() + "x.txt");
  EXPECT_EQ(FsGetFileW((kWideDelim + u"Nothing.").data(), nowhere.data(), 0, nullptr), host::kFsFileNotFound);
  EXPECT_EQ(FsGetFileW((kWideDelim + u"Chinese 中.").data(), nowhere.data(), 0, nullptr),
            host::kFsFileNotFound);
  EXPECT_FALSE(Exists(User() + "x.txt"));
}

// Buffers of every size through the wide calls: maxlen counts bytes for a value (so an odd one
// leaves its last byte alone) and characters for the view; nothing is written past them.
TEST_F(WideExportsTest, WideBuffersOfEverySize) {
  HostList();
  State().Language = kEnglish;
  struct Row {
    int maxlen;
    int code;
    std::u16string text;  // what the buffer holds before the first untouched character
  };
  const Row rows[] = {{0, host::kFtFileError, u""},   {1, host::kFtFileError, u""},
                      {2, host::kFtStringW, u""},     {3, host::kFtStringW, u""},
                      {4, host::kFtStringW, u"N"},    {5, host::kFtStringW, u"N"},
                      {6, host::kFtStringW, u"No"},   {64, host::kFtStringW, u"No"}};
  std::u16string remote = kWideDelim + u"Registry switch.";
  for (const Row& row : rows) {
    char16_t buffer[40];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(FsContentGetValueW(remote.data(), 0, 0, buffer, row.maxlen, 0), row.code) << row.maxlen;
    const size_t written = row.code == host::kFtStringW ? row.text.size() + 1 : 0;
    EXPECT_EQ(std::u16string(buffer, written), row.code == host::kFtStringW ? row.text + u'\0' : u"") << row.maxlen;
    EXPECT_EQ(buffer[written], u'#') << row.maxlen;
  }
  EXPECT_EQ(FsContentGetValueW(remote.data(), 2, 0, nullptr, 64, 0), host::kFtFileError) << "no buffer";
  char16_t small[4];
  EXPECT_EQ(FsContentGetValueW(remote.data(), 2, 0, small, 3, 0), host::kFtFileError) << "no room for a boolean";

  // Every text of the view is at least 4 characters long: each is cut at maxlen - 1.
  for (int maxlen : {0, 1, 5}) {
    char16_t view[4][16];
    for (auto& part : view) std::fill(std::begin(part), std::end(part), u'#');
    ASSERT_EQ(FsContentGetDefaultViewW(view[0], view[1], view[2], view[3], maxlen), 1);
    for (auto& part : view) {
      if (maxlen > 0) {
        EXPECT_EQ(part[maxlen - 1], u'\0') << maxlen;
      }
      EXPECT_EQ(part[maxlen], u'#') << maxlen;
    }
  }
}

}  // namespace
}  // namespace qzr::test
