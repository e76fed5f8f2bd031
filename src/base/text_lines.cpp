// Line splitting for definition texts.
#include "base/text_lines.h"

namespace qzr {

TextLines::TextLines(std::string_view text) : rest_(text.substr(0, text.find('\x1A'))) {}

bool TextLines::Next(std::string_view& line) {
  if (rest_.empty()) {
    // Text that ends with a line end has no further line after it, but empty text is one line.
    if (!first_) return false;
    first_ = false;
    line = {};
    return true;
  }
  first_ = false;
  size_t end = rest_.find('\n');
  if (end == std::string_view::npos) {
    line = rest_;
    rest_ = {};
  } else {
    line = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
  }
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

}  // namespace qzr
