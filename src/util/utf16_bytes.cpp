// UTF-16 LE bytes.
#include "util/utf16_bytes.h"

namespace qzr {

std::string Utf16LeBytes(std::u16string_view text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return bytes;
}

std::u16string Utf16FromLeBytes(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');  // an odd last byte has no unit
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return text;
}

}  // namespace qzr
