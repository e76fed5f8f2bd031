// The import of a registry file as administrator, held to what reg.exe does with what the undo
// files' writer writes: values of each type set, "name"=- deleting a value, [-key] deleting a
// key with everything below it, and the import's answer. Under Wine the real reg.exe runs,
// started through "runas" (Wine shows no prompt).
#include "apply/reg_file_text.h"
#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#ifndef _WIN32
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {

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
  file += "; a comment line, as the undo files have one\r\n";
  file += "\r\n" + RegKeyLine(full + "\\Gone\\Deeper") + RegValueLine("x", win::kRegDword, std::string(4, '\1'));
  file += "\r\n" + RegKeyLine(full) + RegValueLine("Number", win::kRegDword, std::string("\x2a\0\0\x80", 4)) +
          RegValueLine("Text", win::kRegSz, std::string("a \"quoted\" \\ text\0", 19)) +
          RegValueLine("Bytes", win::kRegBinary, std::string(40, '\xab')) +
          RegValueLine("", win::kRegSz, std::string("default\0", 8)) + RegValueLine("Old", win::kRegSz, "x\0") +
          RegDeleteValueLine("Old");
  file += "\r\n" + RegKeyLine(full + "\\Gone", true);
  ASSERT_EQ(Os().system->ImportRegistryFileAsAdministrator(file, nullptr), win::kSuccess);
  uint32_t type = 0;
  EXPECT_EQ(Value(key, "Number", &type), std::string("\x2a\0\0\x80", 4));
  EXPECT_EQ(type, win::kRegDword);
  EXPECT_EQ(Value(key, "Text", &type), std::string("a \"quoted\" \\ text\0", 19));
  EXPECT_EQ(type, win::kRegSz);
  EXPECT_EQ(Value(key, "Bytes", &type), std::string(40, '\xab')) << "a hex list wrapped over lines";
  EXPECT_EQ(type, win::kRegBinary);
  EXPECT_EQ(Value(key, ""), std::string("default\0", 8));
  EXPECT_EQ(Value(key, "Old"), "no value");
  EXPECT_EQ(Value(key + "\\Gone", "x"), "no key") << "the key went with everything below it";

  // Through the test platforms too.
  DelegatingSystem delegating;
  EXPECT_EQ(delegating.ImportRegistryFileAsAdministrator(
                std::string(kRegFileHeader) + "\r\n" + RegKeyLine(full) + RegDeleteValueLine("Text"), nullptr),
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
  const std::string file = std::string(kRegFileHeader) + "\r\n" + RegKeyLine("HKEY_CURRENT_USER\\" + key) +
                           RegValueLine("Number", win::kRegDword, std::string("\1\0\0\0", 4));
  posix::Faults::Fail("ElevatedImport", win::kCancelled, "", 1);
  posix::Faults::Fail("ElevatedImport", 1, "", 1);
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(file, nullptr), win::kCancelled);
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(file, nullptr), 1);
  EXPECT_EQ(Value(key, "Number"), "no key");
  posix::Faults::Fail("RegSetValue", win::kAccessDenied);
  posix::Faults::Fail("RegCreateKey", win::kAccessDenied);
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator(file, nullptr), win::kSuccess);
  EXPECT_EQ(Value(key, "Number"), std::string("\1\0\0\0", 4));
  EXPECT_EQ(Os().system->ImportRegistryFileAsAdministrator("REGEDIT4\r\n[HKEY_NOWHERE\\x]\r\n", nullptr), 1)
      << "a line it does not understand";
}
#endif

}  // namespace
}  // namespace qzr::test
