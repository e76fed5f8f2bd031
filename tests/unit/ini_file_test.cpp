// TIniFile over the profile functions.
#include "stores/ini_file.h"

#include "core/errors.h"
#include "support/test_support.h"

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

}  // namespace
}  // namespace qzr::test
