// Reading a text file's content line by line as the definitions are read: a Ctrl-Z character
// ends the text, lines end with LF or CR LF, and there is always at least one line (empty text
// is one empty line). Lines are views into the text, nothing is copied.
#pragma once
#include <string_view>

namespace qzr {

class TextLines {
 public:
  explicit TextLines(std::string_view text);
  // The next line without its line end; false when the text is used up.
  bool Next(std::string_view& line);

 private:
  std::string_view rest_;
  bool first_ = true;
};

}  // namespace qzr
