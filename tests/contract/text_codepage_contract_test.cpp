// Text conversion between the system's ANSI code page and UTF-8, held to what Windows does: what
// a dialog shows as UTF-8 goes back to the very bytes it came from.
#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

#include "support/test_support.h"
#include "util/utf16.h"

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

// A variable holding a path no ANSI code page can name, as Total Commander's COMMANDER_INI may.
TEST(TextCodePageContract, AnEnvironmentVariableAsUtf8KeepsEveryCharacter) {
  const std::string value = "C:\\配置 Папка 😀\\wincmd.ini";
  ScopedEnv removedAtTheEnd("QZR_CONTRACT_PATH", nullptr);
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(value);
  SetEnvironmentVariableW(L"QZR_CONTRACT_PATH", reinterpret_cast<const wchar_t*>(wide.c_str()));
#else
  setenv("QZR_CONTRACT_PATH", value.c_str(), 1);
#endif
  EXPECT_EQ(System().GetEnvUtf8("QZR_CONTRACT_PATH"), value);
  EXPECT_EQ(System().GetEnvUtf8("qzr_contract_path"), value) << "names without regard to case";
  EXPECT_EQ(System().GetEnvUtf8("QZR_CONTRACT_NEVER_SET"), std::nullopt);
  for (const char* nearName : {"qzr_contract_pat", "qzr_contract_paths", "QZR_CONTRACT_PATH="})
    EXPECT_EQ(System().GetEnv(nearName), std::nullopt) << nearName << ": only the whole name matches";
  ScopedEnv empty("QZR_CONTRACT_EMPTY", "");
  EXPECT_EQ(System().GetEnvUtf8("QZR_CONTRACT_EMPTY"), std::string());
}

}  // namespace
}  // namespace qzr::test
