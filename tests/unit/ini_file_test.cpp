// TIniFile over the profile functions.
#include "stores/ini_file.h"

#include <stdexcept>

#include "base/errors.h"
#include "support/test_support.h"

#ifndef _WIN32
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {

TEST(IniFile, SectionAndValueExistence) {
  TempFolder folder;
  WriteBytes(folder.path("a.ini"), "[filled]\r\nkey=0x10\r\nneg=-5\r\n[empty]\r\n[other]\r\nonly=1\r\n");
  TIniFile ini(folder.path("a.ini"));
  EXPECT_TRUE(ini.SectionExists("FILLED"));
  EXPECT_FALSE(ini.SectionExists("empty")) << "a header without keys is no section";
  EXPECT_FALSE(ini.SectionExists("missing"));
  EXPECT_TRUE(ini.ValueExists("filled", "KEY"));
  EXPECT_FALSE(ini.ValueExists("filled", "only")) << "a key of another section";
  EXPECT_EQ(ini.ReadInteger("filled", "key", 7), 16);
  EXPECT_EQ(ini.ReadInteger("filled", "neg", 7), -5);
  EXPECT_EQ(ini.ReadInteger("filled", "missing", 7), 7);
  EXPECT_EQ(ini.ReadString("filled", "missing", "fallback"), "fallback");
}

TEST(IniFile, WritesAndDeletes) {
  TempFolder folder;
  std::string file = folder.path("a.ini");
  {
    TIniFile ini(file);
    ini.WriteInteger("s", "n", -1);
    ini.WriteString("s", "t", "text");
    ini.WriteString("gone", "x", "1");
    ini.EraseSection("gone");
    ini.DeleteKey("s", "t");
    ini.DeleteKey("nothing", "here");
  }
  EXPECT_EQ(ReadBytes(file), "[s]\r\nn=-1\r\n");
}

TEST(IniFile, RefusedWriteRaisesUnableToWrite) {
  TempFolder folder;
  std::string file = folder.path("missing") + kPathDelim + "a.ini";
  TIniFile ini(file);
  try {
    ini.WriteString("s", "k", "v");
    FAIL() << "no error raised";
  } catch (const ShownError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + file);
  }
  EXPECT_THROW(ini.WriteInteger("s", "k", 1), ShownError);
  EXPECT_NO_THROW(ini.DeleteKey("s", "k"));
}

TEST(IniFile, ReadingIntegersAndLongValues) {
  TempFolder folder;
  WriteBytes(folder.path("a.ini"), "[n]\r\ndollar=$1F\r\nupper=0X1f\r\nbare=0x\r\nmixed=12abc\r\nempty=\r\n"
                                   "blank=  5  \r\nlong=" + std::string(3000, 'x') + "\r\n");
  TIniFile ini(folder.path("a.ini"));
  EXPECT_EQ(ini.ReadInteger("n", "dollar", -1), 31);
  EXPECT_EQ(ini.ReadInteger("n", "upper", -1), 31);
  EXPECT_EQ(ini.ReadInteger("n", "bare", -1), -1);
  EXPECT_EQ(ini.ReadInteger("n", "mixed", -1), -1);
  EXPECT_EQ(ini.ReadInteger("n", "empty", -1), -1);
  EXPECT_EQ(ini.ReadInteger("n", "blank", -1), 5);
  EXPECT_EQ(ini.ReadString("n", "long", ""), std::string(2047, 'x')) << "at most 2047 characters";
  EXPECT_TRUE(ini.ValueExists("N", "EMPTY")) << "a key with an empty value exists";
}

TEST(IniFile, WhatOneStoreWritesTheNextReads) {
  TempFolder folder;
  std::string file = folder.path("a.ini");
  {
    TIniFile ini(file);
    ini.WriteString("Section", "Key", "value");
    ini.WriteInteger("Section", "Number", 2147483647);
  }
  TIniFile ini(file);
  EXPECT_TRUE(ini.SectionExists("section"));
  EXPECT_TRUE(ini.ValueExists("SECTION", "number"));
  EXPECT_EQ(ini.ReadString("section", "key", ""), "value");
  EXPECT_EQ(ini.ReadInteger("section", "number", 0), 2147483647);
}

// A profile whose every call fails with an exception.
class ThrowingProfile final : public ProfileApi {
 public:
  std::string GetString(const std::optional<std::string>&, const std::optional<std::string>&, const std::string&,
                        uint32_t, const std::string&) override {
    throw std::runtime_error("x");
  }
  bool WriteString(const std::optional<std::string>&, const std::optional<std::string>&,
                   const std::optional<std::string>&, const std::string&) override {
    throw std::runtime_error("x");
  }
};

TEST(IniFile, DestroyingNeverRaises) {
  ThrowingProfile throwing;
  Override<ProfileApi> use(Os().profile, &throwing);
  EXPECT_NO_THROW({ TIniFile ini("a.ini"); });
}

#ifndef _WIN32
TEST(IniFile, ARefusedSectionEraseRaises) {
  TempFolder folder;
  std::string file = folder.path("a.ini");
  WriteBytes(file, "[s]\r\nk=1\r\n");
  posix::ScopedFaults faults;
  posix::Faults::Fail("ProfileWrite", win::kAccessDenied);
  TIniFile ini(file);
  try {
    ini.EraseSection("s");
    FAIL() << "no error raised";
  } catch (const ShownError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + file);
  }
  EXPECT_NO_THROW(ini.DeleteKey("s", "k")) << "a refused key deletion is ignored";
  EXPECT_EQ(ReadBytes(file), "[s]\r\nk=1\r\n");
}

// The profile substitute never rewrites a file it could not read: Windows does not either.
TEST(IniFile, AFileThatCannotBeReadIsNeverRewritten) {
  TempFolder folder;
  std::string file = folder.path("a.ini");
  WriteBytes(file, "[s]\r\nk=1\r\nother=2\r\n");
  posix::ScopedFaults faults;
  posix::Faults::Fail("ReadWhole", win::kSharingViolation);
  ProfileApi& profile = *Os().profile;
  EXPECT_FALSE(profile.WriteString("s", "k", "2", file)) << "a key written";
  EXPECT_FALSE(profile.WriteString("t", "k", "2", file)) << "a section added";
  EXPECT_FALSE(profile.WriteString("s", "k", std::nullopt, file)) << "a key deleted";
  EXPECT_FALSE(profile.WriteString("s", std::nullopt, std::nullopt, file)) << "a section erased";
  posix::Faults::Clear();
  EXPECT_EQ(ReadBytes(file), "[s]\r\nk=1\r\nother=2\r\n");
  EXPECT_TRUE(profile.WriteString("s", "k", "2", folder.path("new.ini"))) << "a missing file is made";
}
#endif

}  // namespace
}  // namespace qzr::test
