// Text into the host's buffers, narrow and wide: cut to fit, always terminated, nothing written
// past the size, and a wide cut that never keeps half of a surrogate pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "interface/text_buffer.h"

namespace qzr::test {
namespace {

template <typename Ch>
std::basic_string<Ch> Filled(int size, std::basic_string_view<Ch> text) {
  Ch buffer[16];
  std::fill(std::begin(buffer), std::end(buffer), Ch{'#'});
  FillText(buffer, size, text);
  return std::basic_string<Ch>(buffer, 8);
}

TEST(TextBuffer, NarrowAndWideAreCutAlike) {
  struct Row {
    int size;
    const char* narrow;  // the first 8 characters afterwards, '#' for untouched, '_' for the zero
  };
  const Row rows[] = {{-5, "########"}, {0, "########"}, {1, "_#######"},
                      {3, "ab_#####"},  {6, "abcde_##"}, {7, "abcdef_#"}};
  for (const Row& row : rows) {
    std::string narrow = Filled<char>(row.size, "abcdef"), expected = row.narrow;
    std::replace(expected.begin(), expected.end(), '_', '\0');
    EXPECT_EQ(narrow, expected) << row.size;
    EXPECT_EQ(Filled<char16_t>(row.size, u"abcdef"), std::u16string(expected.begin(), expected.end())) << row.size;
  }
  EXPECT_EQ(Filled<char>(3, "\xD0\x94\xD0\xB0"), std::string("\xD0\x94\0#####", 8)) << "narrow cuts at the byte";
}

TEST(TextBuffer, AWideCutKeepsSurrogatePairsWhole) {
  const std::u16string text = u"a\U0001F600b";  // a, a pair, b
  struct Row {
    int size;
    std::u16string kept;
  };
  const Row rows[] = {{2, u"a"}, {3, u"a"}, {4, u"a\U0001F600"}, {5, text}};
  for (const Row& row : rows) {
    std::u16string expected = row.kept + u'\0';
    expected.resize(8, u'#');
    EXPECT_EQ(Filled<char16_t>(row.size, text), expected) << row.size;
  }
}

}  // namespace
}  // namespace qzr::test
