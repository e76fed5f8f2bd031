// Definition texts read line by line.
#include <vector>

#include "base/text_lines.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> out;
  TextLines lines(text);
  std::string_view line;
  while (lines.Next(line)) out.emplace_back(line);
  return out;
}

using V = std::vector<std::string>;

TEST(TextLines, LineEndsCtrlZAndTheEmptyText) {
  EXPECT_EQ(Lines("a\r\nb\nc"), (V{"a", "b", "c"}));
  EXPECT_EQ(Lines("a\r\n\r\nb\r\n"), (V{"a", "", "b"})) << "no line after the last line end";
  EXPECT_EQ(Lines(""), (V{""})) << "empty text is one empty line";
  EXPECT_EQ(Lines("\n"), (V{""}));
  EXPECT_EQ(Lines("a\rb\r\r\n"), (V{"a\rb\r"})) << "a CR alone ends no line";
  EXPECT_EQ(Lines("a\r\nb\x1A\r\nc\r\n"), (V{"a", "b"})) << "Ctrl-Z ends the text";
  EXPECT_EQ(Lines("\x1A" "a"), (V{""}));
  EXPECT_EQ(Lines(std::string_view("a\0b\n", 4)), (V{std::string("a\0b", 3)}));
}

}  // namespace
}  // namespace qzr::test
