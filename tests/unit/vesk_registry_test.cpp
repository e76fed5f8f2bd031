// TVeskRegistry against this platform's registry (the real one under Wine), in the scratch key.
#include "stores/vesk_registry.h"

#include <cstring>
#include <stdexcept>

#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"

#ifndef _WIN32
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {

// The scratch key as the store addresses it from HKEY_CURRENT_USER.
const std::string kBase = std::string("\\") + ScratchKey::kPath;

// Passes every call on to the real registry and counts the handles the store leaves open.
class CountingRegistry final : public DelegatingRegistry {
 public:
  long CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    long rc = DelegatingRegistry::CreateKey(base, subKey, access, result);
    if (*result) ++open;
    return rc;
  }
  long OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    long rc = DelegatingRegistry::OpenKey(base, subKey, access, result);
    if (*result) ++open;
    if (*result) lastOpenAccess = access;
    return rc;
  }
  long CloseKey(RegHandle key) override {
    --open;
    return DelegatingRegistry::CloseKey(key);
  }
  long DeleteKey(RegHandle base, const std::string& subKey) override {
    ++deleteKeyCalls;
    return DelegatingRegistry::DeleteKey(base, subKey);
  }
  long OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override {
    long rc = DelegatingRegistry::OpenKeyW(base, subKey, access, result);
    if (*result) ++open;
    return rc;
  }
  long DeleteKeyW(RegHandle base, const std::u16string& subKey) override {
    ++deleteKeyCalls;
    return DelegatingRegistry::DeleteKeyW(base, subKey);
  }

  int open = 0;
  int deleteKeyCalls = 0;
  uint32_t lastOpenAccess = 0;
};

// A registry whose every call fails with an exception.
class ThrowingRegistry final : public RegistryApi {
 public:
  long CreateKey(RegHandle, const std::string&, uint32_t, RegHandle*) override { throw std::runtime_error("x"); }
  long OpenKey(RegHandle, const std::string&, uint32_t, RegHandle*) override { throw std::runtime_error("x"); }
  long CloseKey(RegHandle) override { throw std::runtime_error("x"); }
  long QueryValue(RegHandle, const std::string&, uint32_t*, uint8_t*, uint32_t*) override {
    throw std::runtime_error("x");
  }
  long SetValue(RegHandle, const std::string&, uint32_t, const uint8_t*, uint32_t) override {
    throw std::runtime_error("x");
  }
  long DeleteValue(RegHandle, const std::string&) override { throw std::runtime_error("x"); }
  long DeleteKey(RegHandle, const std::string&) override { throw std::runtime_error("x"); }
  long EnumKey(RegHandle, uint32_t, char*, uint32_t*) override { throw std::runtime_error("x"); }
  long QueryInfoKey(RegHandle, RegKeyInfo*) override { throw std::runtime_error("x"); }
  long EnumValue(RegHandle, uint32_t, char*, uint32_t*, uint32_t*, uint8_t*, uint32_t*) override {
    throw std::runtime_error("x");
  }
  long OpenKeyW(RegHandle, const std::u16string&, uint32_t, RegHandle*) override { throw std::runtime_error("x"); }
  long CreateKeyW(RegHandle, const std::u16string&, uint32_t, RegHandle*) override { throw std::runtime_error("x"); }
  long EnumKeyW(RegHandle, uint32_t, std::u16string*) override { throw std::runtime_error("x"); }
  long EnumValueW(RegHandle, uint32_t, std::u16string*, uint32_t*, std::string*) override { throw std::runtime_error("x"); }
  long QueryValueW(RegHandle, const std::u16string&, uint32_t*, std::string*) override { throw std::runtime_error("x"); }
  long SetValueW(RegHandle, const std::u16string&, uint32_t, const std::string&) override { throw std::runtime_error("x"); }
  long DeleteKeyW(RegHandle, const std::u16string&) override { throw std::runtime_error("x"); }
};

class VeskRegistryTest : public ::testing::Test {
 protected:
  static RegistryApi& reg() { return *Os().registry; }
  // Whether the key below the scratch key exists, asked without the store.
  bool Exists(const std::string& relative) {
    RegHandle h = 0;
    reg().OpenKey(scratch_.handle(), relative, win::kKeyRead, &h);
    if (h) reg().CloseKey(h);
    return h != 0;
  }
  void SetRaw(const std::string& key, const std::string& name, uint32_t type, const std::string& bytes) {
    RegHandle h = 0;
    ASSERT_EQ(reg().CreateKey(scratch_.handle(), key, win::kKeyAllAccess, &h), win::kSuccess);
    ASSERT_EQ(reg().SetValue(h, name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                             static_cast<uint32_t>(bytes.size())),
              win::kSuccess);
    reg().CloseKey(h);
  }
  std::pair<uint32_t, std::string> GetRaw(const std::string& key, const std::string& name) {
    RegHandle h = 0;
    reg().OpenKey(scratch_.handle(), key, win::kKeyRead, &h);
    uint32_t type = 99, size = 0;
    std::string data;
    if (reg().QueryValue(h, name, &type, nullptr, &size) == win::kSuccess) {
      data.resize(size);
      reg().QueryValue(h, name, &type, reinterpret_cast<uint8_t*>(data.data()), &size);
    } else {
      type = 99;
    }
    if (h) reg().CloseKey(h);
    return {type, data};
  }

  ScratchKey scratch_;
};

TEST_F(VeskRegistryTest, CreateSelectsTheCurrentUserWithFullAccess) {
  TVeskRegistry registry;
  EXPECT_EQ(registry.RootHandle(), kHkeyCurrentUser);
  EXPECT_EQ(registry.Access(), win::kKeyAllAccess);
  EXPECT_EQ(registry.CurrentKey(), 0u);
  EXPECT_EQ(registry.CurrentPath(), "");
}

TEST_F(VeskRegistryTest, RootKeyCodes) {
  EXPECT_EQ(RootKeyForCode(0), kHkeyLocalMachine);
  EXPECT_EQ(RootKeyForCode(1), kHkeyCurrentUser);
  EXPECT_EQ(RootKeyForCode(2), kHkeyUsers);
  EXPECT_EQ(RootKeyForCode(3), kHkeyCurrentConfig);
  EXPECT_EQ(RootKeyForCode(4), kHkeyClassesRoot);
  EXPECT_EQ(RootKeyForCode(5), std::nullopt);
  EXPECT_EQ(RootKeyForCode(-1), std::nullopt);
}

TEST_F(VeskRegistryTest, OpenKeyCreatesAndFollowsThePathRule) {
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(std::string(ScratchKey::kPath) + "\\A\\B")) << "relative to the root: none is open";
  EXPECT_TRUE(Exists("A\\B")) << "missing keys on the path are created";
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("A\\B"));

  ASSERT_TRUE(registry.OpenKey("C"));
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("A\\B\\C")) << "relative to the open key";
  EXPECT_TRUE(Exists("A\\B\\C"));

  ASSERT_TRUE(registry.OpenKey(kBase + "\\D"));
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("D")) << "absolute: from the root, without the backslash";

  RegHandle before = registry.CurrentKey();
  EXPECT_FALSE(registry.OpenKey("\\\\E")) << "no key path starts with two backslashes";
  EXPECT_EQ(registry.CurrentKey(), before) << "a failed open keeps the open key";
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("D"));

  registry.WriteInteger("v", 5);
  EXPECT_EQ(GetRaw("D", "v").first, win::kRegDword) << "values go to the open key";
}

TEST_F(VeskRegistryTest, TheEmptyPathIsTheRoot) {
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(""));
  EXPECT_EQ(registry.CurrentPath(), "");
  EXPECT_NE(registry.CurrentKey(), 0u);
  ASSERT_TRUE(registry.OpenKey(ScratchKey::Path("R")));
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("R")) << "no leading backslash below the root";
  EXPECT_TRUE(Exists("R"));
}

TEST_F(VeskRegistryTest, SetRootKeyClosesOnlyOnAChange) {
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase));
  RegHandle open = registry.CurrentKey();
  registry.SetRootKey(kHkeyCurrentUser);
  EXPECT_EQ(registry.CurrentKey(), open);
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::kPath);
  registry.SetRootKey(kHkeyLocalMachine);
  EXPECT_EQ(registry.RootHandle(), kHkeyLocalMachine);
  EXPECT_EQ(registry.CurrentKey(), 0u);
  EXPECT_EQ(registry.CurrentPath(), "");
}

TEST_F(VeskRegistryTest, KeyExistsCreatesNothingAndKeepsState) {
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\Open"));
  RegHandle open = registry.CurrentKey();
  registry.SetAccess(0x2001F);

  EXPECT_FALSE(registry.KeyExists(kBase + "\\Missing\\Deeper"));
  EXPECT_FALSE(Exists("Missing"));
  EXPECT_TRUE(registry.KeyExists(kBase + "\\Open"));
  EXPECT_TRUE(registry.KeyExists("")) << "the root";
  EXPECT_FALSE(registry.KeyExists("Missing")) << "relative to the open key";
  EXPECT_FALSE(Exists("Open\\Missing"));

  EXPECT_EQ(registry.Access(), 0x2001Fu);
  EXPECT_EQ(registry.CurrentKey(), open);
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("Open"));
}

TEST_F(VeskRegistryTest, KeyExistsAsksForReadRightsOnlyAndClosesItsHandle) {
  CountingRegistry counting;
  Override<RegistryApi> use(Os().registry, &counting);
  {
    TVeskRegistry registry;
    EXPECT_TRUE(registry.KeyExists(kBase));
    EXPECT_EQ(counting.lastOpenAccess, win::kKeyQueryEnum);
    EXPECT_EQ(counting.open, 0);
    EXPECT_TRUE(registry.OpenKey(kBase + "\\X"));
    EXPECT_EQ(counting.open, 1);
  }
  EXPECT_EQ(counting.open, 0) << "destroying the store closes its key";
}

TEST_F(VeskRegistryTest, OpenKeyReadOnlyCreatesAndChangesNothing) {
  SetRaw("A\\B", "v", win::kRegDword, std::string("\5\0\0\0", 4));
  CountingRegistry counting;
  Override<RegistryApi> use(Os().registry, &counting);
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(kBase + "\\A"));
  EXPECT_EQ(counting.lastOpenAccess, win::kKeyRead);
  EXPECT_EQ(registry.Access(), win::kKeyAllAccess) << "other opens still ask for full access";

  RegHandle open = registry.CurrentKey();
  EXPECT_FALSE(registry.OpenKeyReadOnly("Missing\\Deeper"));
  EXPECT_FALSE(Exists("A\\Missing"));
  EXPECT_EQ(registry.CurrentKey(), open) << "a failed open keeps the open key";

  ASSERT_TRUE(registry.OpenKeyReadOnly("B"));
  EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("A\\B")) << "relative to the open key";
  EXPECT_EQ(registry.ReadInteger("v"), 5);
  EXPECT_EQ(registry.WriteInteger("v", 6), win::kAccessDenied) << "the key is open for reading only";
  EXPECT_EQ(counting.open, 1);
}

TEST_F(VeskRegistryTest, DeleteKeyRemovesTheWholeTree) {
  for (const char* key : {"T\\A\\A1", "T\\A\\A2\\Deep", "T\\B", "T\\c"}) SetRaw(key, "v", win::kRegSz, "x");
  SetRaw("T", "", win::kRegSz, "default");
  CountingRegistry counting;
  Override<RegistryApi> use(Os().registry, &counting);
  {
    TVeskRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kBase + "\\Kept"));
    RegHandle open = registry.CurrentKey();
    EXPECT_TRUE(registry.DeleteKey(kBase + "\\T"));
    EXPECT_EQ(registry.CurrentKey(), open) << "the open key is put back";
    EXPECT_EQ(registry.CurrentPath(), ScratchKey::Path("Kept"));
    EXPECT_EQ(counting.open, 1) << "every handle of the walk is closed";
    EXPECT_FALSE(registry.DeleteKey(kBase + "\\T")) << "a missing key";
  }
  EXPECT_FALSE(Exists("T"));
  EXPECT_TRUE(Exists("Kept"));
}

TEST_F(VeskRegistryTest, DeleteKeyRelativeToTheOpenKey) {
  SetRaw("P\\Q\\R", "v", win::kRegDword, "1234");
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\P"));
  EXPECT_TRUE(registry.DeleteKey("Q"));
  EXPECT_FALSE(Exists("P\\Q"));
  EXPECT_TRUE(Exists("P"));
}

TEST_F(VeskRegistryTest, DeleteKeyNeverEmptiesARoot) {
  SetRaw("Safe", "v", win::kRegSz, "x");
  CountingRegistry counting;
  Override<RegistryApi> use(Os().registry, &counting);
  TVeskRegistry registry;
  for (const char* path : {"", "\\", "\\\\", "\\\\Software"}) {
    EXPECT_FALSE(registry.DeleteKey(path)) << path;
  }
  ASSERT_TRUE(registry.OpenKey(""));
  EXPECT_FALSE(registry.DeleteKey("")) << "also with the root open";
  EXPECT_EQ(counting.deleteKeyCalls, 0) << "the platform is not even asked";
  EXPECT_TRUE(Exists("Safe"));
}

TEST_F(VeskRegistryTest, WritingReplacesAValueOfAnotherType) {
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\W"));
  registry.WriteString("Mixed", "text");
  EXPECT_EQ(GetRaw("W", "Mixed"), std::make_pair(win::kRegSz, std::string("text\0", 5)));
  registry.WriteInteger("MIXED", 0x01020304);
  EXPECT_EQ(GetRaw("W", "mixed"), std::make_pair(win::kRegDword, std::string("\x04\x03\x02\x01", 4)));
  registry.WriteBinaryData("Mixed", "\x00\xff", 2);
  EXPECT_EQ(GetRaw("W", "Mixed"), std::make_pair(win::kRegBinary, std::string("\x00\xff", 2)));
  registry.WriteString("", "default");
  EXPECT_EQ(registry.ReadString(""), "default") << "the key's default value";
  registry.WriteInteger("", 7);
  EXPECT_EQ(GetRaw("W", "").first, win::kRegDword);
  registry.WriteBinaryData("neg", "abc", -1);
  EXPECT_FALSE(registry.ValueExists("neg")) << "a negative size writes nothing";
}

TEST_F(VeskRegistryTest, ReadingStrings) {
  SetRaw("S", "embedded", win::kRegSz, std::string("abc\0def\0", 8));
  SetRaw("S", "expand", win::kRegExpandSz, std::string("%PATH%\0", 7));
  SetRaw("S", "dword", win::kRegDword, std::string("\x31\x32\x00\x34", 4));
  SetRaw("S", "zero", win::kRegBinary, "");
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\S"));
  registry.WriteString("empty", "");
  EXPECT_EQ(GetRaw("S", "empty"), std::make_pair(win::kRegSz, std::string("\0", 1))) << "one byte: the zero";
  EXPECT_EQ(registry.ReadString("empty"), "");
  EXPECT_EQ(registry.ReadString("embedded"), "abc");
  EXPECT_EQ(registry.ReadString("expand"), "%PATH%") << "nothing is expanded";
  EXPECT_EQ(registry.ReadString("dword"), std::string("\x31\x32\x00\x34", 4)) << "raw bytes of other types";
  EXPECT_EQ(registry.ReadString("zero"), "");
  EXPECT_EQ(registry.ReadString("missing"), "");
}

TEST_F(VeskRegistryTest, ReadingIntegers) {
  SetRaw("I", "minus", win::kRegDword, "\xff\xff\xff\xff");
  SetRaw("I", "two", win::kRegBinary, "\x01\x02");
  SetRaw("I", "long", win::kRegBinary, "\x01\x02\x03\x04\x05");
  SetRaw("I", "text", win::kRegSz, std::string("7\0", 2));
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\I"));
  registry.WriteInteger("n", -123456);
  EXPECT_EQ(registry.ReadInteger("n"), -123456);
  EXPECT_EQ(registry.ReadInteger("minus"), -1);
  EXPECT_EQ(registry.ReadInteger("missing"), -1);
  EXPECT_EQ(registry.ReadInteger("two"), static_cast<int32_t>(0xFFFF0201)) << "short data replaces the low bytes";
  EXPECT_EQ(registry.ReadInteger("text"), static_cast<int32_t>(0xFFFF0037)) << "the type is not examined";
  EXPECT_EQ(registry.ReadInteger("long"), -1) << "more than four bytes is no integer";
}

TEST_F(VeskRegistryTest, ReadingBinaryData) {
  SetRaw("B", "ten", win::kRegBinary, "0123456789");
  SetRaw("B", "four", win::kRegBinary, "abcd");
  SetRaw("B", "multi", 7, std::string("a\0\0", 3));
  SetRaw("B", "text", win::kRegSz, std::string("ab\0", 3));
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\B"));
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(registry.ReadBinaryData("ten", buffer, 8), 10);
  EXPECT_EQ(std::string(buffer, 8), std::string(8, '\0')) << "too large: the buffer stays zeroed";
  EXPECT_EQ(registry.ReadBinaryData("four", buffer, 8), 4);
  EXPECT_EQ(std::string(buffer, 8), std::string("abcd\0\0\0\0", 8));
  EXPECT_EQ(registry.ReadBinaryData("multi", buffer, 8), 3) << "untyped to the store: copied";
  EXPECT_EQ(std::string(buffer, 3), std::string("a\0\0", 3));
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(registry.ReadBinaryData("text", buffer, 8), 3) << "a string is not copied";
  EXPECT_EQ(std::string(buffer, 8), std::string(8, '\0'));
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(registry.ReadBinaryData("missing", buffer, 8), 0);
  EXPECT_EQ(std::string(buffer, 8), std::string(8, '\0'));
}

TEST_F(VeskRegistryTest, ValuesExistAndAreDeleted) {
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\V"));
  EXPECT_FALSE(registry.ValueExists("v"));
  registry.WriteBinaryData("v", "", 0);
  EXPECT_TRUE(registry.ValueExists("V"));
  EXPECT_TRUE(registry.DeleteValue("v"));
  EXPECT_FALSE(registry.DeleteValue("v"));
  EXPECT_FALSE(registry.ValueExists("v"));
}

TEST_F(VeskRegistryTest, WithoutAnOpenKeyReadsFindNothingAndWritesDoNothing) {
  TVeskRegistry registry;
  char buffer[4] = {1, 2, 3, 4};
  EXPECT_FALSE(registry.ValueExists("v"));
  EXPECT_EQ(registry.ReadInteger("v"), -1);
  EXPECT_EQ(registry.ReadString("v"), "");
  EXPECT_EQ(registry.ReadBinaryData("v", buffer, 4), 0);
  EXPECT_EQ(std::string(buffer, 4), std::string(4, '\0'));
  registry.WriteString("v", "x");
  registry.WriteInteger("v", 1);
  EXPECT_FALSE(registry.DeleteValue("v"));
}

TEST_F(VeskRegistryTest, NothingEverRaises) {
  ThrowingRegistry throwing;
  Override<RegistryApi> use(Os().registry, &throwing);
  TVeskRegistry registry;
  registry.SetAccess(0x20019);
  EXPECT_FALSE(registry.OpenKey("A"));
  EXPECT_FALSE(registry.KeyExists("A"));
  EXPECT_EQ(registry.Access(), 0x20019u) << "restored although the open escaped with an error";
  EXPECT_FALSE(registry.DeleteKey("A"));
  EXPECT_FALSE(registry.ValueExists("v"));
  EXPECT_EQ(registry.ReadInteger("v"), -1);
  EXPECT_EQ(registry.ReadString("v"), "");
  char buffer[2] = {1, 1};
  EXPECT_EQ(registry.ReadBinaryData("v", buffer, 2), 0);
  registry.WriteInteger("v", 1);
  registry.WriteString("v", "x");
  registry.WriteBinaryData("v", "x", 1);
  EXPECT_FALSE(registry.DeleteValue("v"));
  EXPECT_EQ(registry.CurrentKey(), 0u);
}

#ifndef _WIN32
// Refusals that only the substitute can be made to give.
class VeskRegistryFaults : public VeskRegistryTest {
 protected:
  posix::ScopedFaults faults_;
};

TEST_F(VeskRegistryFaults, AReadableKeyWithoutFullAccessExistsButDoesNotOpen) {
  SetRaw("Locked", "v", win::kRegDword, "1234");
  posix::Faults::Fail("RegCreateKey", win::kAccessDenied, "Locked");
  TVeskRegistry registry;
  EXPECT_TRUE(registry.KeyExists(kBase + "\\Locked"));
  EXPECT_FALSE(registry.OpenKey(kBase + "\\Locked"));
  EXPECT_EQ(registry.ReadInteger("v"), -1);
}

TEST_F(VeskRegistryFaults, ASubKeyThatCannotGoMakesDeleteKeyFail) {
  for (const char* key : {"T\\A", "T\\Stuck", "T\\Z"}) SetRaw(key, "v", win::kRegSz, "x");
  posix::Faults::Fail("RegDeleteKey", win::kAccessDenied, "Stuck");
  TVeskRegistry registry;
  EXPECT_FALSE(registry.DeleteKey(kBase + "\\T"));
  EXPECT_TRUE(Exists("T\\Stuck"));
  EXPECT_FALSE(Exists("T\\A")) << "the others are gone";
  EXPECT_FALSE(Exists("T\\Z"));
}

// A value is replaced in place, type and all: a write that is refused, once or for good, leaves
// the old value as it was.
TEST_F(VeskRegistryFaults, ARefusedWriteKeepsTheOldValue) {
  SetRaw("K", "v", win::kRegSz, std::string("old\0", 4));
  TVeskRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kBase + "\\K"));
  for (int times : {1, -1}) {
    posix::Faults::Fail("RegSetValue", win::kAccessDenied, "", times);
    EXPECT_EQ(registry.WriteInteger("v", 1), win::kAccessDenied);
    EXPECT_EQ(GetRaw("K", "v"), std::make_pair(win::kRegSz, std::string("old\0", 4)));
    posix::Faults::Clear();
  }
  EXPECT_EQ(registry.WriteInteger("v", 1), win::kSuccess);
  EXPECT_EQ(GetRaw("K", "v"), std::make_pair(win::kRegDword, std::string("\1\0\0\0", 4))) << "a new type too";
}
#endif

}  // namespace
}  // namespace qzr::test
