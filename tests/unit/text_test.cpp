// Paths, wildcards and code pages.
#include "texts/texts.h"
#include "support/test_support.h"
#include "util/text.h"
#include "util/wildcard.h"

namespace qzr::test {
namespace {

TEST(Paths, FolderAndFileNameParts) {
  std::string d(1, kPathDelim);
  EXPECT_EQ(FolderPart("a" + d + "b" + d + "c.ini"), "a" + d + "b" + d);
  EXPECT_EQ(FileNamePart("a" + d + "b" + d + "c.ini"), "c.ini");
  EXPECT_EQ(FolderPart("c.ini"), "");
  EXPECT_EQ(FileNamePart("c.ini"), "c.ini");
  EXPECT_EQ(FileNamePart(d), "");
  EXPECT_EQ(JoinPath("a", "b"), "a" + d + "b");
  EXPECT_EQ(JoinPath("a" + d, "b"), "a" + d + "b");
#ifdef _WIN32
  EXPECT_EQ(FolderPart("C:name"), "C:");
  EXPECT_EQ(FileNamePart("C:name"), "name");
#endif
}

TEST(Wildcard, WindowsRulesWithoutRegardToCase) {
  EXPECT_TRUE(WildcardMatch("*", "anything."));
  EXPECT_TRUE(WildcardMatch("*", ""));
  EXPECT_TRUE(WildcardMatch("*.tweak", "A.TWEAK"));
  EXPECT_FALSE(WildcardMatch("*.tweak", "a.tweak.bak"));
  EXPECT_TRUE(WildcardMatch("a?c", "abc"));
  EXPECT_FALSE(WildcardMatch("a?c", "ac"));
  EXPECT_TRUE(WildcardMatch("[a-c]x", "Bx"));
  EXPECT_FALSE(WildcardMatch("[!a-c]x", "bx"));
  EXPECT_TRUE(WildcardMatch("[ab", "[ab")) << "an unclosed set is plain text";
  EXPECT_FALSE(WildcardMatch("[ab]", "a", false));
  EXPECT_TRUE(WildcardMatch("*a*b*c*", "xxaxxbxxcxx"));
  EXPECT_FALSE(WildcardMatch(std::string(40, '*') + "b", std::string(4000, 'a')));
}

TEST(Texts, LanguagePicksAndWindows1251) {
  Bilingual t{"Yes", "Да"};
  EXPECT_EQ(t.Pick(0), "Yes");
  EXPECT_EQ(t.Pick(1), "Да");
  EXPECT_EQ(t.Pick(2), "");
  EXPECT_EQ(t.PickCp1251(1), "\xC4\xE0");
  EXPECT_EQ(Utf8ToCp1251("Ёё №"), "\xA8\xB8 \xB9");
  EXPECT_EQ(Cp1251ToUtf8("\xC0\xFF\xA8"), "АяЁ");
  EXPECT_EQ(Format("a %s b %d c %s", {"1", "2"}), "a 1 b 2 c %s");
  EXPECT_EQ(Format("%s", {"100%"}), "100%");
}

}  // namespace
}  // namespace qzr::test
