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

TEST_F(ProfileContract, LinesEndAtCrLfLfOrCr) {
  WriteBytes(ini_, "[s]\rk=1\rj=2\r[t]\nx=3\n");
  EXPECT_EQ(Get("s", "j"), "2");
  EXPECT_EQ(Get("t", "x"), "3");
  EXPECT_TRUE(Write("s", "k", "4"));
  EXPECT_EQ(ReadBytes(ini_), "[s]\r\nk=4\r\nj=2\r\n[t]\r\nx=3\r\n") << "written back with CR LF";
}

TEST_F(ProfileContract, WhatCountsAsSectionAndKey) {
  WriteBytes(ini_,
             "top=0\r\n[a]b]\r\nk=1\r\n[open\r\no=2\r\n[ s ]\r\n;c=3\r\n#h=4\r\nbare\r\n=5\r\nv=a=b\r\n"
             "e=\r\nq='x'\r\nu=\"x\r\n[s]\r\nlater=6\r\n");
  EXPECT_EQ(Get("a]b", "k"), "1") << "the name runs to the last ]";
  EXPECT_EQ(Get("a", "k", "d"), "d");
  EXPECT_EQ(Get("open", "o", "d"), "d") << "no ], no section";
  EXPECT_EQ(Get(" s ", "c", "d"), "d");
  EXPECT_EQ(Get("s ", "  ;c "), "3") << "section and key are trimmed; a ; line is still a key";
  EXPECT_EQ(Get("s", std::nullopt), std::string("#h\0\0v\0e\0q\0u\0", 12))
      << "the list leaves out ; keys and lines without =";
  EXPECT_EQ(Get("s", ""), "5");
  EXPECT_EQ(Get("s", "bare", "d"), "d") << "a line without = has no value";
  EXPECT_EQ(Get("s", "v"), "a=b");
  EXPECT_EQ(Get("s", "e", "d"), "");
  EXPECT_EQ(Get("s", "q"), "x") << "single quotes go too";
  EXPECT_EQ(Get("s", "u"), "\"x") << "an unpaired quote stays";
  EXPECT_EQ(Get("s", "later", "d"), "d") << "only the first of equal sections counts";
  EXPECT_EQ(Get("", "top"), "0") << "keys above the first section form the nameless one";
  EXPECT_EQ(Get("", std::nullopt), std::string("top\0", 4));
  EXPECT_EQ(Get(std::nullopt, std::nullopt), std::string("a]b\0s\0s\0", 8)) << "the nameless section is not listed";
  WriteBytes(ini_, "[s]\r\nk\r\n=1\r\nj=2\r\n");
  EXPECT_EQ(Get("s", std::nullopt, "d"), "d") << "a list that starts with an empty name gives the default";
}

TEST_F(ProfileContract, ValuesAreCutToTheBuffer) {
  WriteBytes(ini_, "[s]\r\nk=123456789\r\n");
  EXPECT_EQ(Get("s", "k", "", 5), "1234");
  EXPECT_EQ(Get("s", "missing", "abcdefgh", 5), "abcd");
}

TEST_F(ProfileContract, RewritingDropsBlankLinesAndTrimsWhatIsWritten) {
  WriteBytes(ini_, "\r\nx\r\n\r\n[s]\r\n\r\n  k = 1 \r\n; c\r\n\r\n[t]\r\n\r\nj=1\r\n\r\n");
  EXPECT_TRUE(Write("s", "n", "2"));
  EXPECT_EQ(ReadBytes(ini_), "x\r\n[s]\r\nk=1\r\n; c\r\nn=2\r\n[t]\r\nj=1\r\n");
  EXPECT_TRUE(Write(" u ", " key ", "  padded  "));
  EXPECT_EQ(ReadBytes(ini_), "x\r\n[s]\r\nk=1\r\n; c\r\nn=2\r\n[t]\r\nj=1\r\n[u ]\r\nkey =padded  \r\n")
      << "leading blanks of section, key and value are dropped";
  EXPECT_TRUE(Write("u", "KEY", "3"));
  EXPECT_EQ(Get("u", "key"), "3");
}

TEST_F(ProfileContract, AKeyLineWithoutEqualsIsReplacedOrDeleted) {
  WriteBytes(ini_, "[s]\r\nk\r\nj\r\n;c=1\r\n");
  EXPECT_TRUE(Write("s", "K", "2"));
  EXPECT_EQ(ReadBytes(ini_), "[s]\r\nk=2\r\nj\r\n;c=1\r\n");
  EXPECT_TRUE(Write("s", "j", std::nullopt));
  EXPECT_TRUE(Write("s", ";c", "5"));
  EXPECT_EQ(ReadBytes(ini_), "[s]\r\nk=2\r\n;c=5\r\n");
}

TEST_F(ProfileContract, TheNamelessSectionIsWrittenAtTheTop) {
  WriteBytes(ini_, "k=1\r\n[s]\r\nj=2\r\n");
  EXPECT_TRUE(Write("", "n", "5"));
  EXPECT_EQ(ReadBytes(ini_), "k=1\r\nn=5\r\n[s]\r\nj=2\r\n");
  WriteBytes(ini_, "[s]\r\nj=2\r\n");
  EXPECT_TRUE(Write("", "n", "5"));
  EXPECT_EQ(ReadBytes(ini_), "n=5\r\n[s]\r\nj=2\r\n");
}

TEST_F(ProfileContract, DeletingWhatIsNotThereRewritesNothing) {
  std::string before = "[s]\r\n\r\nk=1\r\n\r\n";
  WriteBytes(ini_, before);
  EXPECT_TRUE(Write("s", "missing", std::nullopt));
  EXPECT_TRUE(Write("missing", std::nullopt, std::nullopt));
  EXPECT_TRUE(Write("missing", "k", std::nullopt));
  EXPECT_EQ(ReadBytes(ini_), before);
}

TEST_F(ProfileContract, WritingIntoAMissingFolderFails) {
  std::string bad = folder_.path("nofolder") + kPathDelim + "a.ini";
  EXPECT_FALSE(profile().WriteString(std::string("s"), std::string("k"), std::string("v"), bad));
  EXPECT_FALSE(Exists(bad));
}

// Names, values and defaults reach the system as zero-terminated strings: a zero byte inside one
// ends it there.
TEST_F(ProfileContract, TextEndsAtAZeroByte) {
  EXPECT_TRUE(Write(std::string("sec\0x", 5), std::string("key\0y", 5), std::string("val\0z", 5)));
  EXPECT_EQ(ReadBytes(ini_), "[sec]\r\nkey=val\r\n");
  EXPECT_EQ(Get(std::string("sec\0q", 5), std::string("key\0q", 5)), "val");
  EXPECT_EQ(Get("sec", "none", std::string("def\0ault", 9)), "def");
}

// A key written as "[x]" makes a line the next read takes for a section header: the key is not
// found again, and what follows lands in section "x".
TEST_F(ProfileContract, KeysThatLookLikeSections) {
  EXPECT_TRUE(Write("s", "[x]", "1"));
  EXPECT_TRUE(Write("s", "after", "2"));
  EXPECT_EQ(Get(std::nullopt, std::nullopt), std::string("s\0x\0", 4));
  EXPECT_EQ(Get("s", std::nullopt), std::string("after\0", 6));
  EXPECT_EQ(Get("s", "[x]", "none"), "none");
}

// A settings file in a folder no ANSI code page can name: read and written as any other, its
// contents in the ANSI code page ("\xE9" is one letter in every Western and Cyrillic one).
TEST_F(ProfileContract, AFileInAFolderNamedInAnyScript) {
  const std::string dir = folder_.path("配置 Папка 😀");
  ASSERT_TRUE(Os().files->MakeDirectory(dir));
  ini_ = dir + kPathDelim + "qzrtc.ini";
  EXPECT_TRUE(Write("main", "lang", "1"));
  EXPECT_TRUE(Write("main", "caf\xE9", "\xE9t\xE9"));
  std::string bytes;
  ASSERT_EQ(Os().files->ReadWhole(ini_, &bytes), win::kSuccess);
  EXPECT_EQ(bytes, "[main]\r\nlang=1\r\ncaf\xE9=\xE9t\xE9\r\n");
  EXPECT_EQ(Get("MAIN", "lang"), "1");
  EXPECT_EQ(Get("main", "caf\xE9"), "\xE9t\xE9");
  EXPECT_EQ(Get("main", std::nullopt), std::string("lang\0caf\xE9\0", 10));
  EXPECT_EQ(Get(std::nullopt, std::nullopt), std::string("main\0", 5));
  EXPECT_EQ(Get("main", "missing", "none"), "none");
  EXPECT_TRUE(Write("main", "lang", std::nullopt));
  EXPECT_TRUE(Write("main", std::nullopt, std::nullopt));
  ASSERT_EQ(Os().files->ReadWhole(ini_, &bytes), win::kSuccess);
  EXPECT_EQ(bytes, "");
}

}  // namespace
}  // namespace qzr::test
