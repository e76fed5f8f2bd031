// Paths, wildcards and code pages.
#ifdef _WIN32
#include <windows.h>
#endif

#include "texts/texts.h"
#include "support/test_support.h"
#include "base/path_text.h"
#include "util/text.h"
#include "util/utf16.h"
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


// Both directions over one table: what a host's wide string and our path text are to each other.
TEST(Utf16, ConvertsBothWaysWithoutLoss) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"plain.tweak", u"plain.tweak"},
      {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", u"\u041F\u0440\u0438\u0432\u0435\u0442"},  // Cyrillic
      {"\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},                                                // Chinese
      {"\xF0\x9F\x98\x80", u"\U0001F600"},                                                          // emoji: a pair
      {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\u0080\u07FF\u0800\uFFFF\U0010FFFF"},  // edges
      {"\xED\xA0\x80", std::u16string(1, char16_t{0xD800})},  // an unpaired high surrogate
      {"a\xED\xBF\xBF", u"a" + std::u16string(1, char16_t{0xDFFF})},  // an unpaired low one
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
  }
  // Bytes that are no UTF-8 become one U+FFFD each and go on with the next byte.
  const std::pair<std::string, std::u16string> malformed[] = {
      {"\x80", u"\uFFFD"},                    // a stray continuation byte
      {"a\xC3", u"a\uFFFD"},                  // cut short
      {"\xC0\xAF", u"\uFFFD\uFFFD"},          // an overlong "/"
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xFF" "b", u"\uFFFD" "b"},
  };
  for (const auto& [bytes, expected] : malformed) EXPECT_EQ(Utf8ToUtf16(bytes), expected);
}

// A wide name the ANSI code page cannot hold exactly names nothing; one it can is found.
TEST(PathText, ExactAnsiRefusesBestFitAndMissingCharacters) {
  EXPECT_EQ(ExactAnsi("Show hidden files"), "Show hidden files");
  EXPECT_EQ(AnsiOfPath(PathOfAnsi("C:\\Tweaks\\a b.ini")), "C:\\Tweaks\\a b.ini");
#ifdef _WIN32
  // The Western code page of the test's Wine process: Chinese has no form there, and "ā" only a
  // best fit.
  if (GetACP() == 1252) {
    EXPECT_EQ(ExactAnsi("\xE4\xB8\xAD"), std::nullopt);
    EXPECT_EQ(ExactAnsi("D\xC4\x81rk"), std::nullopt);
    EXPECT_EQ(AnsiOfPath("\xE4\xB8\xAD.txt"), "?.txt");
    EXPECT_EQ(ExactAnsi("caf\xC3\xA9"), "caf\xE9");
  }
#endif
}

}  // namespace
}  // namespace qzr::test
