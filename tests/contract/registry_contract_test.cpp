// The registry functions of the platform seam, held to what Windows does. Under Wine this runs
// against the real registry (a scratch key below HKEY_CURRENT_USER); natively against the
// substitute, which must answer the same.
#include <cstring>
#include <map>

#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "util/utf16_bytes.h"

namespace qzr::test {
namespace {

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(scratch_.handle(), 0u); }
  void TearDown() override {
    for (RegHandle h : opened_) reg().CloseKey(h);
  }
  static RegistryApi& reg() { return *Os().registry; }

  RegHandle Create(const std::string& path, uint32_t access = win::kKeyAllAccess) {
    RegHandle h = 0;
    EXPECT_EQ(reg().CreateKey(scratch_.handle(), path, access, &h), win::kSuccess) << path;
    opened_.push_back(h);
    return h;
  }
  long Open(const std::string& path, uint32_t access, RegHandle* h) {
    long rc = reg().OpenKey(scratch_.handle(), path, access, h);
    if (*h) opened_.push_back(*h);
    return rc;
  }
  void Set(RegHandle key, const std::string& name, uint32_t type, const std::string& bytes) {
    ASSERT_EQ(reg().SetValue(key, name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                             static_cast<uint32_t>(bytes.size())),
              win::kSuccess);
  }
  // Type and data of a value read with a buffer as large as its size asks for.
  std::pair<uint32_t, std::string> Get(RegHandle key, const std::string& name) {
    uint32_t type = 99, size = 0;
    EXPECT_EQ(reg().QueryValue(key, name, &type, nullptr, &size), win::kSuccess) << name;
    std::string data(size, '\0');
    uint32_t got = size;
    EXPECT_EQ(reg().QueryValue(key, name, &type, reinterpret_cast<uint8_t*>(data.data()), &got), win::kSuccess);
    data.resize(got);
    return {type, data};
  }
  std::vector<std::string> SubKeys(RegHandle key) {
    std::vector<std::string> names;
    for (uint32_t i = 0;; ++i) {
      char name[300];
      uint32_t length = sizeof name;
      long rc = reg().EnumKey(key, i, name, &length);
      if (rc == win::kNoMoreItems) break;
      EXPECT_EQ(rc, win::kSuccess);
      if (rc != win::kSuccess) break;
      EXPECT_EQ(length, std::strlen(name)) << "the length leaves out the terminating zero";
      names.emplace_back(name, length);
    }
    return names;
  }

  ScratchKey scratch_;
  std::vector<RegHandle> opened_;
};

TEST_F(RegistryContract, CreatingOpeningAndClosingKeys) {
  RegHandle h = 0;
  EXPECT_EQ(Open("A\\B\\C", win::kKeyRead, &h), win::kFileNotFound);
  EXPECT_EQ(h, 0u);

  RegHandle c = Create("A\\B\\C");
  EXPECT_NE(c, 0u) << "missing keys on the path are created";
  Set(c, "v", win::kRegDword, std::string("\x01\0\0\0", 4));
  EXPECT_EQ(Open("a\\b\\c", win::kKeyRead, &h), win::kSuccess) << "key names ignore case";
  EXPECT_EQ(Get(h, "V").second, std::string("\x01\0\0\0", 4)) << "value names ignore case";

  RegHandle again = 0;
  EXPECT_EQ(reg().CreateKey(c, "", win::kKeyAllAccess, &again), win::kSuccess) << "an empty path opens the key itself";
  opened_.push_back(again);
  EXPECT_NE(again, c);
  EXPECT_EQ(Get(again, "v").first, win::kRegDword);

  RegHandle leaf = 0;
  EXPECT_EQ(reg().CreateKey(scratch_.handle(), "D", win::kKeyAllAccess, &leaf), win::kSuccess);
  EXPECT_EQ(reg().CloseKey(leaf), win::kSuccess);
  EXPECT_EQ(reg().CloseKey(kHkeyCurrentUser), win::kSuccess) << "closing a predefined root does nothing";
  EXPECT_EQ(reg().QueryValue(0, "v", nullptr, nullptr, nullptr), win::kInvalidHandle) << "no key";

  for (const char* bad : {"\\X", "\\\\X"}) {
    EXPECT_EQ(reg().CreateKey(scratch_.handle(), bad, win::kKeyAllAccess, &h), win::kBadPathName) << bad;
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(Open(bad, win::kKeyRead, &h), win::kBadPathName) << bad;
    EXPECT_EQ(reg().DeleteKey(scratch_.handle(), bad), win::kBadPathName) << bad;
  }
  Create("X\\\\Y\\");
  EXPECT_EQ(Open("X\\Y", win::kKeyRead, &h), win::kSuccess) << "doubled and trailing backslashes are one";
  EXPECT_EQ(SubKeys(scratch_.handle()), (std::vector<std::string>{"A", "D", "X"}));
}

TEST_F(RegistryContract, QueryingTypeSizeAndData) {
  RegHandle k = Create("Q");
  Set(k, "bin", win::kRegBinary, std::string("0123456789", 10));
  Set(k, "str", win::kRegSz, std::string("text\0", 5));
  Set(k, "", win::kRegExpandSz, std::string("%X%\0", 4));

  uint32_t type = 99, size = 0;
  EXPECT_EQ(reg().QueryValue(k, "bin", &type, nullptr, &size), win::kSuccess);
  EXPECT_EQ(type, win::kRegBinary);
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(reg().QueryValue(k, "bin", nullptr, nullptr, nullptr), win::kSuccess) << "existence alone";

  uint8_t small[8] = {};
  size = sizeof small;
  EXPECT_EQ(reg().QueryValue(k, "bin", &type, small, &size), win::kMoreData);
  EXPECT_EQ(size, 10u) << "too small a buffer reports the size needed";

  EXPECT_EQ(Get(k, "str"), std::make_pair(win::kRegSz, std::string("text\0", 5)));
  EXPECT_EQ(Get(k, ""), std::make_pair(win::kRegExpandSz, std::string("%X%\0", 4))) << "the default value";

  size = 0;
  EXPECT_EQ(reg().QueryValue(k, "missing", &type, nullptr, &size), win::kFileNotFound);
  RegHandle empty = Create("Q\\Empty");
  EXPECT_EQ(reg().QueryValue(empty, "", &type, nullptr, &size), win::kFileNotFound) << "no default value set";
}

TEST_F(RegistryContract, SettingAndDeletingValues) {
  RegHandle k = Create("S");
  Set(k, "v", win::kRegSz, std::string("\0", 1));
  EXPECT_EQ(Get(k, "v"), std::make_pair(win::kRegSz, std::string("\0", 1))) << "the empty string is one byte";
  Set(k, "V", win::kRegDword, std::string("\xff\xff\xff\xff", 4));
  EXPECT_EQ(Get(k, "v"), std::make_pair(win::kRegDword, std::string("\xff\xff\xff\xff", 4)))
      << "setting replaces type and data";
  Set(k, "e", win::kRegBinary, "");
  EXPECT_EQ(Get(k, "e"), std::make_pair(win::kRegBinary, std::string()));
  Set(k, "nul", win::kRegSz, std::string("ab\0cd\0", 6));
  EXPECT_EQ(Get(k, "nul").second, std::string("ab\0cd\0", 6)) << "embedded zeros are stored";
  Set(k, "open", win::kRegSz, "abc");
  EXPECT_EQ(Get(k, "open").second, std::string("abc\0", 4)) << "a string gets its terminating zero";
  Set(k, "none", win::kRegSz, "");
  EXPECT_EQ(Get(k, "none").second, "") << "but an empty one stays empty";
  Set(k, "dw", win::kRegDword, "\x01\x02\x03\x04");
  uint8_t three[3] = {9, 9, 9};
  uint32_t size = sizeof three;
  EXPECT_EQ(reg().QueryValue(k, "dw", nullptr, three, &size), win::kMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(three[0], 9) << "too small a buffer receives nothing";

  EXPECT_EQ(reg().DeleteValue(k, "V"), win::kSuccess);
  EXPECT_EQ(reg().DeleteValue(k, "v"), win::kFileNotFound);
  EXPECT_EQ(reg().QueryValue(k, "v", nullptr, nullptr, nullptr), win::kFileNotFound);
}

TEST_F(RegistryContract, AccessIsCheckedAgainstTheHandle) {
  Create("R");
  RegHandle readOnly = 0;
  ASSERT_EQ(Open("R", win::kKeyQueryEnum, &readOnly), win::kSuccess);
  uint8_t one = 1;
  EXPECT_EQ(reg().SetValue(readOnly, "v", win::kRegBinary, &one, 1), win::kAccessDenied);
  EXPECT_EQ(reg().DeleteValue(readOnly, "v"), win::kAccessDenied);
  RegKeyInfo info;
  EXPECT_EQ(reg().QueryInfoKey(readOnly, &info), win::kSuccess);
  char name[16];
  uint32_t length = sizeof name;
  EXPECT_EQ(reg().EnumKey(readOnly, 0, name, &length), win::kNoMoreItems);
}

TEST_F(RegistryContract, DeletingKeys) {
  Create("T\\Child");
  EXPECT_EQ(reg().DeleteKey(scratch_.handle(), "T"), win::kAccessDenied) << "a key with sub-keys is refused";
  EXPECT_EQ(reg().DeleteKey(scratch_.handle(), "t\\CHILD"), win::kSuccess);
  EXPECT_EQ(reg().DeleteKey(scratch_.handle(), "T\\Child"), win::kFileNotFound);
  EXPECT_EQ(reg().DeleteKey(scratch_.handle(), "None\\Child"), win::kFileNotFound);

  RegHandle t = Create("T");
  Set(t, "v", win::kRegBinary, "x");
  EXPECT_EQ(reg().DeleteKey(scratch_.handle(), "T"), win::kSuccess) << "values do not stop the deletion";
  RegHandle h = 0;
  EXPECT_EQ(Open("T", win::kKeyRead, &h), win::kFileNotFound);
  EXPECT_EQ(reg().QueryValue(t, "v", nullptr, nullptr, nullptr), 1018) << "ERROR_KEY_DELETED on a stale handle";

  RegHandle leaf = Create("L");
  EXPECT_EQ(reg().DeleteKey(leaf, ""), win::kSuccess) << "an empty path deletes the key of the handle itself";
  EXPECT_EQ(Open("L", win::kKeyRead, &h), win::kFileNotFound);
  Create("Keep");
  EXPECT_EQ(reg().DeleteKey(scratch_.handle(), ""), win::kAccessDenied) << "the scratch key has a sub-key";
  EXPECT_EQ(reg().DeleteKey(kHkeyCurrentUser, ""), win::kAccessDenied) << "nor is a root deleted";
}

TEST_F(RegistryContract, EnumeratingSubKeys) {
  RegHandle e = Create("E");
  for (const char* name : {"beta", "Alpha", "gamma", "ALPHA2", "b"}) Create(std::string("E\\") + name);
  EXPECT_EQ(SubKeys(e), (std::vector<std::string>{"Alpha", "ALPHA2", "b", "beta", "gamma"}))
      << "in order without regard to case, in the spelling they were made with";

  char name[8];
  uint32_t length = 5;
  EXPECT_EQ(reg().EnumKey(e, 1, name, &length), win::kMoreData) << "ALPHA2 needs 7 characters with its zero";
  length = 7;
  EXPECT_EQ(reg().EnumKey(e, 1, name, &length), win::kSuccess);
  EXPECT_EQ(length, 6u);
  length = sizeof name;
  EXPECT_EQ(reg().EnumKey(e, 5, name, &length), win::kNoMoreItems);
}

// What the undo backups read a key with: every value with its name, type and data, whatever the
// type. The order is the system's own, so the values are compared as a set.
TEST_F(RegistryContract, EnumeratingValues) {
  using namespace std::string_literals;
  RegHandle k = Create("V");
  const std::map<std::string, std::pair<uint32_t, std::string>> stored{
      {"", {win::kRegSz, "default\0"s}},
      {"bin", {win::kRegBinary, "\x00\xff\x10"s}},
      {"dword", {win::kRegDword, "\x01\0\0\0"s}},
      {"qword", {win::kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s}},
      {"expand", {win::kRegExpandSz, "%TEMP%\\x\0"s}},
      {"multi", {win::kRegMultiSz, "one\0two\0\0"s}},
      {"Name \"quoted\"", {win::kRegSz, "\xc0\xe1\0"s}},
      {"odd", {0x1234u, "raw"s}}};
  for (const auto& [name, value] : stored) Set(k, name, value.first, value.second);

  std::map<std::string, std::pair<uint32_t, std::string>> seen;
  uint32_t binIndex = 0;
  char name[64];
  uint32_t nameLength = 0, type = 0, size = 0;
  for (uint32_t i = 0;; ++i) {
    uint8_t data[64];
    nameLength = sizeof name;
    size = sizeof data;
    long rc = reg().EnumValue(k, i, name, &nameLength, &type, data, &size);
    if (rc == win::kNoMoreItems) break;
    ASSERT_EQ(rc, win::kSuccess) << i;
    EXPECT_EQ(nameLength, std::strlen(name)) << "the length leaves out the terminating zero";
    seen[std::string(name, nameLength)] = {type, std::string(reinterpret_cast<char*>(data), size)};
    if (std::string(name, nameLength) == "bin") binIndex = i;
  }
  EXPECT_EQ(seen, stored);

  uint8_t small[2];
  nameLength = sizeof name;
  size = sizeof small;
  EXPECT_EQ(reg().EnumValue(k, binIndex, name, &nameLength, &type, small, &size), win::kMoreData);
  EXPECT_EQ(size, 3u) << "too small a data buffer reports the size needed";
  nameLength = sizeof name;
  size = 0;
  EXPECT_EQ(reg().EnumValue(k, binIndex, name, &nameLength, &type, nullptr, &size), win::kSuccess);
  EXPECT_EQ(size, 3u) << "no data buffer asks for the size alone";
  RegHandle empty = Create("V\\Empty");
  nameLength = sizeof name;
  size = sizeof small;
  EXPECT_EQ(reg().EnumValue(empty, 0, name, &nameLength, &type, small, &size), win::kNoMoreItems);
}

// The wide calls the undo files read and restore a tree with: names and string data outside any
// ANSI code page come back exactly as they were written, string types as UTF-16 LE with their
// zeros; and a string written with the 8-bit call reads back wide.
TEST_F(RegistryContract, WideCallsKeepAnyText) {
  using namespace std::string_literals;
  const auto text = [](const std::u16string& s) { return Utf16LeBytes(s); };
  const std::u16string keyName = u"\u4e2d\u6587 \U0001F600 \u041a\u043b\u044e\u0447";
  RegHandle k = 0;
  ASSERT_EQ(reg().CreateKeyW(scratch_.handle(), u"W\\" + keyName, win::kKeyAllAccess, &k), win::kSuccess);
  opened_.push_back(k);
  const std::map<std::u16string, std::pair<uint32_t, std::string>> stored{
      {u"", {win::kRegSz, text(u"\u9ed8\u8ba4\0"s)}},
      {u"\u0417\u043d\u0430\u0447\u0435\u043d\u0438\u0435", {win::kRegSz, text(u"\u0422\u0435\u043a\u0441\u0442 \U0001F680\0"s)}},
      {u"\u6269\u5c55", {win::kRegExpandSz, text(u"%TEMP%\\\u6587\u4ef6\0"s)}},
      {u"\U0001F600 multi", {win::kRegMultiSz, text(u"\u4e00\0\U0001F4A9\0\u0434\u0432\u0430\0\0"s)}},
      {u"dword \u6570", {win::kRegDword, "\x01\x02\x03\x04"s}},
      {u"qword", {win::kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s}},
      {u"bin", {win::kRegBinary, std::string(300, '\xab')}},
      {std::u16string(300, u'\u044f'), {win::kRegNone, "\x01"s}}};
  for (const auto& [name, value] : stored) ASSERT_EQ(reg().SetValueW(k, name, value.first, value.second), win::kSuccess);

  std::u16string name;
  RegHandle parent = 0;
  ASSERT_EQ(Open("W", win::kKeyRead, &parent), win::kSuccess);
  ASSERT_EQ(reg().EnumKeyW(parent, 0, &name), win::kSuccess);
  EXPECT_EQ(name, keyName);
  EXPECT_EQ(reg().EnumKeyW(parent, 1, &name), win::kNoMoreItems);
  RegHandle again = 0;
  ASSERT_EQ(reg().OpenKeyW(parent, keyName, win::kKeyRead, &again), win::kSuccess);
  opened_.push_back(again);

  std::map<std::u16string, std::pair<uint32_t, std::string>> seen;
  uint32_t type = 0;
  std::string data;
  for (uint32_t i = 0;; ++i) {
    const long rc = reg().EnumValueW(again, i, &name, &type, &data);
    if (rc == win::kNoMoreItems) break;
    ASSERT_EQ(rc, win::kSuccess) << i;
    seen[name] = {type, data};
  }
  EXPECT_EQ(seen, stored);
  for (const auto& [valueName, value] : stored) {
    ASSERT_EQ(reg().QueryValueW(again, valueName, &type, &data), win::kSuccess);
    EXPECT_EQ(std::make_pair(type, data), value);
  }
  EXPECT_EQ(reg().QueryValueW(again, u"\u65e0", &type, &data), win::kFileNotFound);

  Set(k, "ansi", win::kRegSz, "plain\0"s);
  ASSERT_EQ(reg().QueryValueW(k, u"ansi", &type, &data), win::kSuccess);
  EXPECT_EQ(data, text(u"plain\0"s)) << "the wide call hands 8-bit text over as UTF-16";
  ASSERT_EQ(reg().SetValueW(k, u"wide", win::kRegSz, text(u"plain\0"s)), win::kSuccess);
  EXPECT_EQ(Get(k, "wide"), std::make_pair(win::kRegSz, "plain\0"s)) << "and 8-bit calls read wide text as 8-bit";
}

TEST_F(RegistryContract, QueryingKeyInformation) {
  RegHandle k = Create("I");
  RegKeyInfo info;
  info.SubKeyCount = 77;
  ASSERT_EQ(reg().QueryInfoKey(k, &info), win::kSuccess);
  EXPECT_EQ(info.SubKeyCount, 0u);
  EXPECT_EQ(info.ValueCount, 0u);
  EXPECT_EQ(info.MaxSubKeyNameLength, 0u);

  Create("I\\Short");
  Create("I\\LongerName");
  Set(k, "v", win::kRegBinary, std::string(12, 'x'));
  Set(k, "value2", win::kRegDword, "1234");
  ASSERT_EQ(reg().QueryInfoKey(k, &info), win::kSuccess);
  EXPECT_EQ(info.SubKeyCount, 2u);
  EXPECT_EQ(info.MaxSubKeyNameLength, 10u);
  EXPECT_EQ(info.ValueCount, 2u);
  EXPECT_EQ(info.MaxValueNameLength, 6u);
  EXPECT_EQ(info.MaxDataLength, 12u);
  EXPECT_NE(info.LastWriteTime, 0u);
  Set(k, "s", win::kRegSz, std::string("hello\0", 6));
  ASSERT_EQ(reg().QueryInfoKey(k, &info), win::kSuccess);
  EXPECT_EQ(info.MaxDataLength, 12u) << "strings count as the UTF-16 text the registry keeps";
  Set(k, "s", win::kRegSz, std::string("hello!\0", 7));
  ASSERT_EQ(reg().QueryInfoKey(k, &info), win::kSuccess);
  EXPECT_EQ(info.MaxDataLength, 14u);

  EXPECT_EQ(reg().QueryInfoKey(0, &info), win::kInvalidHandle);
  EXPECT_EQ(info.SubKeyCount, 0u);
}

}  // namespace
}  // namespace qzr::test

namespace qzr::test {
namespace {

// Names reach the system as zero-terminated strings: a zero byte inside one ends it there.
TEST_F(RegistryContract, NamesEndAtAZeroByte) {
  const std::string keyWithZero("Zero\0ignored", 12), valueWithZero("v\0ignored", 9);
  RegHandle key = Create(keyWithZero);
  Set(key, valueWithZero, win::kRegSz, std::string("x\0", 2));
  EXPECT_EQ(SubKeys(scratch_.handle()), std::vector<std::string>{"Zero"});
  RegHandle plain = 0;
  ASSERT_EQ(Open("Zero", win::kKeyRead, &plain), win::kSuccess);
  EXPECT_EQ(Get(plain, "v"), std::make_pair(win::kRegSz, std::string("x\0", 2)));
  EXPECT_EQ(reg().DeleteValue(key, std::string("v\0other", 7)), win::kSuccess);
  EXPECT_EQ(reg().DeleteKey(scratch_.handle(), std::string("Zero\0x", 6)), win::kSuccess);
}

// A key name holds at most 255 characters, and the 8-bit calls take a path of at most MAX_PATH
// characters: anything longer is refused and makes nothing. The wide calls take a longer path, and
// characters are counted as UTF-16 counts them (an undo file reads a deep tree of Chinese names).
// (Wine makes a key of 256 characters that it will not open again: the test keeps off that length.)
TEST_F(RegistryContract, KeyNamesAndPathsBeyondTheLimitsAreRefused) {
  const std::u16string wideName(255, u'\u041a'), tooWide(257, u'\u041a');
  const std::u16string deep = u"W\\" + std::u16string(100, u'\u4e2d') + u"\\" + std::u16string(100, u'b') + u"\\" +
                              std::u16string(100, u'c');
  for (const std::u16string& path : {wideName, deep}) {
    RegHandle made = 0, opened = 0;
    EXPECT_EQ(reg().CreateKeyW(scratch_.handle(), path, win::kKeyAllAccess, &made), win::kSuccess) << path.size();
    EXPECT_EQ(reg().OpenKeyW(scratch_.handle(), path, win::kKeyRead, &opened), win::kSuccess) << path.size();
    for (RegHandle h : {made, opened})
      if (h) reg().CloseKey(h);
  }
  RegHandle refused = 0;
  EXPECT_EQ(reg().CreateKeyW(scratch_.handle(), tooWide, win::kKeyAllAccess, &refused), win::kInvalidParameter);
  EXPECT_EQ(reg().DeleteKeyW(scratch_.handle(), deep), win::kSuccess);
  for (const std::u16string& made : {wideName, u"W\\" + std::u16string(100, u'\u4e2d') + u"\\" + std::u16string(100, u'b'),
                                     u"W\\" + std::u16string(100, u'\u4e2d'), std::u16string(u"W")})
    EXPECT_EQ(reg().DeleteKeyW(scratch_.handle(), made), win::kSuccess);

  RegHandle h = 0;
  EXPECT_EQ(reg().CreateKey(scratch_.handle(), std::string(255, 'k'), win::kKeyAllAccess, &h), win::kSuccess);
  if (h) opened_.push_back(h);
  const std::string twoLevels = std::string(100, 'a') + "\\" + std::string(100, 'b') + "\\";
  for (const std::string& path : {std::string(257, 'n'), twoLevels + std::string(58, 'c'), twoLevels + std::string(59, 'c')}) {
    h = 0;
    long rc = reg().CreateKey(scratch_.handle(), path, win::kKeyAllAccess, &h);
    if (h) opened_.push_back(h);
    EXPECT_EQ(rc == win::kSuccess, path.size() == 260) << path.size() << ": " << rc;
  }
  EXPECT_EQ(reg().OpenKey(scratch_.handle(), twoLevels + std::string(59, 'c'), win::kKeyRead, &h), win::kMoreData);
  EXPECT_EQ(SubKeys(scratch_.handle()), (std::vector<std::string>{std::string(100, 'a'), std::string(255, 'k')}));
}

}  // namespace
}  // namespace qzr::test
