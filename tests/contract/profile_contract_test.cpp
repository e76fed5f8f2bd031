// The profile functions of the platform seam, held to what Windows does. Under Wine this runs
// against the real profile API; natively against the substitute, which must answer the same.
#include "support/test_support.h"

namespace qzr::test {
namespace {

class ProfileContract : public ::testing::Test {
 protected:
  std::string Get(const std::optional<std::string>& section, const std::optional<std::string>& key,
                  const std::string& def = "", uint32_t size = 2048) {
    return profile().GetString(section, key, def, size, ini_);
  }
  bool Write(const std::optional<std::string>& section, const std::optional<std::string>& key,
             const std::optional<std::string>& value) {
    bool ok = profile().WriteString(section, key, value, ini_);
    profile().WriteString(std::nullopt, std::nullopt, std::nullopt, ini_);
    return ok;
  }
  static ProfileApi& profile() { return *Os().profile; }
  TempFolder folder_;
  std::string ini_ = folder_.path("a.ini");
};

TEST_F(ProfileContract, WritingCreatesTheFileInTheWindowsLayout) {
  EXPECT_TRUE(Write("main", "lang", "1"));
  EXPECT_EQ(ReadBytes(ini_), "[main]\r\nlang=1\r\n");
  EXPECT_TRUE(Write("other", "x", "y"));
  EXPECT_EQ(ReadBytes(ini_), "[main]\r\nlang=1\r\n[other]\r\nx=y\r\n");
  EXPECT_TRUE(Write("MAIN", "Lang", "2"));
  EXPECT_TRUE(Write("main", "b", "3"));
  EXPECT_EQ(ReadBytes(ini_), "[main]\r\nlang=2\r\nb=3\r\n[other]\r\nx=y\r\n")
      << "names keep their first spelling; a new key goes to the end of its section";
}

TEST_F(ProfileContract, ReadingValuesAndDefaults) {
  WriteBytes(ini_, "; comment\r\n [ Sec ] \r\n k1 = v1 \r\nq=\"quoted\"\r\n[main]\r\nlang=1\r\n");
  EXPECT_EQ(Get("sec", "K1"), "v1") << "names without regard to case, values trimmed";
  EXPECT_EQ(Get("Sec", "q"), "quoted");
  EXPECT_EQ(Get("main", "missing", "def  "), "def") << "the default loses its trailing blanks";
  EXPECT_EQ(Get("nosection", "k", "d"), "d");
  EXPECT_EQ(Get("main", "lang", "", 1), "");
  EXPECT_EQ(profile().GetString(std::string("main"), std::string("lang"), "d", 2048, folder_.path("none.ini")), "d")
      << "a missing file gives the default";
}

TEST_F(ProfileContract, KeyAndSectionLists) {
  WriteBytes(ini_, "[main]\r\nlang=2\r\nb=3\r\nnoequals\r\n[empty]\r\n[other]\r\nx=y\r\n");
  EXPECT_EQ(Get("main", std::nullopt), std::string("lang\0b\0", 7)) << "lines without = are no keys";
  EXPECT_EQ(Get("MAIN", std::nullopt, "", 5), std::string("lan", 3)) << "cut to the buffer less two";
  EXPECT_EQ(Get("empty", std::nullopt), "");
  EXPECT_EQ(Get("missing", std::nullopt), "");
  EXPECT_EQ(Get(std::nullopt, std::nullopt), std::string("main\0empty\0other\0", 17));
}

TEST_F(ProfileContract, DeletingKeysAndSections) {
  WriteBytes(ini_, "[a]\r\nk=1\r\nj=2\r\n[b]\r\nk=3\r\n");
  EXPECT_TRUE(Write("a", "K", std::nullopt));
  EXPECT_EQ(ReadBytes(ini_), "[a]\r\nj=2\r\n[b]\r\nk=3\r\n");
  EXPECT_TRUE(Write("A", std::nullopt, std::nullopt));
  EXPECT_EQ(ReadBytes(ini_), "[b]\r\nk=3\r\n");
  EXPECT_TRUE(Write("missing", std::nullopt, std::nullopt));
  EXPECT_TRUE(Write("b", "missing", std::nullopt));
  EXPECT_EQ(ReadBytes(ini_), "[b]\r\nk=3\r\n");
}

TEST_F(ProfileContract, DeletingInAMissingFileCreatesNothing) {
  std::string other = folder_.path("none.ini");
  EXPECT_TRUE(profile().WriteString(std::string("s"), std::string("k"), std::nullopt, other));
  EXPECT_TRUE(profile().WriteString(std::string("s"), std::nullopt, std::nullopt, other));
  EXPECT_FALSE(Exists(other));
}

TEST_F(ProfileContract, WritingIntoAMissingFolderFails) {
  std::string bad = folder_.path("nofolder") + kPathDelim + "a.ini";
  EXPECT_FALSE(profile().WriteString(std::string("s"), std::string("k"), std::string("v"), bad));
  EXPECT_FALSE(Exists(bad));
}

}  // namespace
}  // namespace qzr::test
