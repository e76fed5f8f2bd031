// Text conversion between the system's ANSI code page and UTF-8, held to what Windows does: what
// a dialog shows as UTF-8 goes back to the very bytes it came from.
#include "support/test_support.h"

namespace qzr::test {
namespace {

SystemApi& System() { return *Os().system; }

TEST(TextCodePageContract, AsciiAndEmptyPassUnchanged) {
  std::string ascii;
  for (char c = ' '; c <= '~'; ++c) ascii += c;
  EXPECT_EQ(System().Utf8ToAnsi(ascii), ascii);
  EXPECT_EQ(System().AnsiToUtf8(ascii), ascii);
  EXPECT_EQ(System().Utf8ToAnsi(""), "");
  EXPECT_EQ(System().Utf8ToAnsi("  a b  "), "  a b  ") << "blanks are kept as typed";
}

TEST(TextCodePageContract, AnsiTextComesBackToItsBytes) {
  // Letters the Western and the Cyrillic code pages both define in their upper half.
  std::string ansi;
  for (int b = 0xC0; b <= 0xFF; ++b) ansi += static_cast<char>(b);
  std::string utf8 = System().AnsiToUtf8(ansi);
  EXPECT_EQ(System().Utf8ToAnsi(utf8), ansi);
}

#ifdef _WIN32
TEST(TextCodePageContract, CharactersTheCodePageLacksBecomeQuestionMarks) {
  // No single-byte code page has both Cyrillic and Greek letters.
  std::string text = System().Utf8ToAnsi("Да\xCE\xA9");  // "Да" and Greek capital omega
  EXPECT_NE(text.find('?'), std::string::npos) << text;
}
#endif

}  // namespace
}  // namespace qzr::test
