// The import of a registry file as administrator, held to what reg.exe does with what the undo
// files' writer writes: values of each type set (names and text in any script), "name"=-
// deleting a value, [-key] deleting a key with everything below it, and the import's answer. Under Wine the real reg.exe runs,
// started through "runas" (Wine shows no prompt).
#include "apply/reg_file_text.h"
#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"
#ifndef _WIN32
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {
using namespace std::string_literals;

// A string's data as the wide calls hold it.
std::string Wide(const std::u16string& text) { return Utf16LeBytes(text + u'\0'); }

// Type and data of a value read with the wide calls, or what is missing.
std::pair<uint32_t, std::string> WideValue(const std::u16string& key, const std::u16string& name) {
  RegHandle h = 0;
  if (Os().registry->OpenKeyW(kHkeyCurrentUser, key, win::kKeyRead, &h) != win::kSuccess) return {0, "no key"};
  uint32_t type = 0;
  std::string data;
  const long rc = Os().registry->QueryValueW(h, name, &type, &data);
  Os().registry->CloseKey(h);
  return rc == win::kSuccess ? std::make_pair(type, data) : std::make_pair(0u, "no value"s);
}

std::string Value(const std::string& key, const std::string& name, uint32_t* type = nullptr) {
  RegHandle h = 0;
  if (Os().registry->OpenKey(kHkeyCurrentUser, key, win::kKeyRead, &h) != win::kSuccess) return "no key";
  char data[256] = {};
  uint32_t size = sizeof data, found = 0;
  const long rc = Os().registry->QueryValue(h, name, &found, reinterpret_cast<uint8_t*>(data), &size);
  Os().registry->CloseKey(h);
  if (type) *type = found;
  return rc == win::kSuccess ? std::string(data, size) : "no value";
}

TEST(AdminImportContract, TheFileIsImportedAsTheRegistryEditorReadsIt) {
  ScratchKey scratch;
  const std::string key = ScratchKey::Path("Import");
  const std::string full = "HKEY_CURRENT_USER\\" + key;
  std::string file = kRegFileHeader;
  file += "; a comment line, as the undo files have one: \xe4\xb8\xad\r\n";
  file += "\r\n" + RegKeyLine(full + "\\Gone\\Deeper") + RegValueLine("x", win::kRegDword, std::string(4, '\1'));
  file += "\r\n" + RegKeyLine(full) + RegValueLine("Number", win::kRegDword, std::string("\x2a\0\0\x80", 4)) +
          RegValueLine("Text", win::kRegSz, Wide(u"a \"quoted\" \\ text")) +
          RegValueLine("Bytes", win::kRegBinary, std::string(40, '\xab')) +
          RegValueLine("", win::kRegSz, Wide(u"default")) + RegValueLine("Old", win::kRegSz, Wide(u"x")) +
          RegDeleteValueLine("Old");
  // Names and text outside any ANSI code page, and the types that hold UTF-16 as hex lists.
  const std::u16string unicodeKey = Utf8ToUtf16(key) + u"\\\u4e2d\u6587 \U0001F600 \u041a";
  const std::vector<std::tuple<std::u16string, uint32_t, std::string>> unicode{
      {u"\u0418\u043c\u044f \"\u4e2d\"", win::kRegSz, Wide(u"\u0422\u0435\u043a\u0441\u0442 \U0001F680 \\ \"\u4e2d\"")},
      {u"\U0001F600", win::kRegExpandSz, Wide(u"%TEMP%\\\u6587")},
      {u"\u591a", win::kRegMultiSz, Utf16LeBytes(u"\u4e00\0\U0001F4A9\0\0"s)},
      {u"\u0447\u0438\u0441\u043b\u043e", win::kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s}};
  file += "\r\n" + RegKeyLine("HKEY_CURRENT_USER\\" + Utf16ToUtf8(unicodeKey));
  for (const auto& [name, type, data] : unicode) file += RegValueLine(Utf16ToUtf8(name), type, data);
  file += "\r\n" + RegKeyLine(full + "\\Gone", true);
  ASSERT_EQ(Os().system->ImportRegistryFileAsAdministrator(RegFileBytes(file), nullptr), win::kSuccess);
  for (const auto& [name, type, data] : unicode) EXPECT_EQ(WideValue(unicodeKey, name), std::make_pair(type, data));
  uint32_t type = 0;
  EXPECT_EQ(Value(key, "Number", &type), std::string("\x2a\0\0\x80", 4));
  EXPECT_EQ(type, win::kRegDword);
  EXPECT_EQ(Value(key, "Text", &type), "a \"quoted\" \\ text\0"s);
  EXPECT_EQ(type, win::kRegSz);
  EXPECT_EQ(Value(key, "Bytes", &type), std::string(40, '\xab')) << "a hex list wrapped over lines";
  EXPECT_EQ(type, win::kRegBinary);
  EXPECT_EQ(Value(key, ""), std::string("default\0", 8));
  EXPECT_EQ(Value(key, "Old"), "no value");
  EXPECT_EQ(Value(key + "\\Gone", "x"), "no key") << "the key went with everything below it";

  // Through the test platforms too.
  DelegatingSystem delegating;
  EXPECT_EQ(delegating.ImportRegistryFileAsAdministrator(
                RegFileBytes(kRegFileHeader + "\r\n"s + RegKeyLine(full) + RegDeleteValueLine("Text")), nullptr),
            win::kSuccess);
  EXPECT_EQ(Value(key, "Text"), "no value");
}

#ifndef _WIN32
// The substitute declines or fails as a test tells it, importing nothing; past the registry's
// own injected refusals it imports, as an administrator's reg.exe would.
TEST(AdminImportContract, TheSubstituteDeclinesFailsAndImportsPastRefusals) {
  ScratchKey scratch;
  posix::ScopedFaults faults;
  const std::string key = ScratchKey::Path("Import");
  const std::string file = RegFileBytes(std::string(kRegFileHeader) + "\r\n" + RegKeyLine("HKEY_CURRENT_USER\\" + key) +
                                        RegValueLine("Number", win::kRegDword, std::string("\1\0\0\0", 4)));
  posix::Faults::Fail("ElevatedImport", win::kCancelled, "", 1);
  posix::Faults::Fail("ElevatedImport", 1, "", 1);
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(file, nullptr), win::kCancelled);
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(file, nullptr), 1);
  EXPECT_EQ(Value(key, "Number"), "no key");
  posix::Faults::Fail("RegSetValue", win::kAccessDenied);
  posix::Faults::Fail("RegCreateKey", win::kAccessDenied);
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(file, nullptr), win::kSuccess);
  EXPECT_EQ(Value(key, "Number"), std::string("\1\0\0\0", 4));
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(RegFileBytes(kRegFileHeader + "[HKEY_NOWHERE\\x]\r\n"s), nullptr), 1)
      << "a line it does not understand";
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(kRegFileHeader, nullptr), 1)
      << "the form without its byte-order mark and UTF-16";
}
#endif

}  // namespace
}  // namespace qzr::test
