// UTF-8 and UTF-16, the host's wide strings, converted into each other without loss. Windows
// allows an unpaired surrogate in a file name, so one is carried through UTF-8 as its own
// three-byte form (as WTF-8 does) and comes back as it was; bytes that are no UTF-8 become U+FFFD.
#pragma once
#include <string>
#include <string_view>

namespace qzr {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// Whether UTF-8 text is longer than `limit` characters as Windows counts them (UTF-16 units).
// UTF-8 never has fewer bytes than that, so only a long text is converted to be counted.
inline bool LongerInUtf16Than(std::string_view utf8, size_t limit) {
  return utf8.size() > limit && Utf8ToUtf16(utf8).size() > limit;
}

// One code point (up to U+10FFFF; a surrogate in its own three-byte form) appended as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace qzr
