// UTF-8 <-> UTF-16 by hand: the standard library's converters are deprecated, and neither they
// nor Windows' own keep an unpaired surrogate.
#include "util/utf16.h"

#include <cstdint>

namespace qzr {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The code point at `utf8[i]`, moving `i` past it; a malformed sequence (a stray byte, a
// truncated or overlong form, a value above U+10FFFF) is one U+FFFD for its first byte.
char32_t NextCodePoint(std::string_view utf8, size_t& i) {
  const auto b0 = static_cast<unsigned char>(utf8[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  size_t length = 0;
  char32_t value = 0;
  char32_t lowest = 0;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2, value = b0 & 0x1F, lowest = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, value = b0 & 0x0F, lowest = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, value = b0 & 0x07, lowest = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + length > utf8.size()) {
    ++i;
    return kReplacement;
  }
  for (size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(utf8[i + k]);
    if (!IsContinuation(b)) {
      ++i;
      return kReplacement;
    }
    value = (value << 6) | (b & 0x3F);
  }
  if (value < lowest || value > 0x10FFFF) {
    ++i;
    return kReplacement;
  }
  i += length;
  return value;
}


// Writes the one to four bytes of `c` from `out` on and returns the end of them.
char* EncodeUtf8(char32_t c, char* out) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  char bytes[4];
  out.append(bytes, static_cast<size_t>(EncodeUtf8(c, bytes) - bytes));
}

// Both conversions write into a buffer of the longest result and cut it to size: every text the
// plugin reads or writes passes through them, so they do no per-character growth checks.
std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out(utf8.size(), u'\0');  // never more units than bytes
  char16_t* next = out.data();
  for (size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {  // most text: one unit, no decoding
      *next++ = static_cast<char16_t>(utf8[i++]);
      continue;
    }
    char32_t c = NextCodePoint(utf8, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      *next++ = static_cast<char16_t>(0xD800 + (c >> 10));
      *next++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      *next++ = static_cast<char16_t>(c);
    }
  }
  out.resize(static_cast<size_t>(next - out.data()));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out(utf16.size() * 3, '\0');  // a pair of units is four bytes, any other unit at most three
  char* next = out.data();
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c < 0x80) {
      *next++ = static_cast<char>(c);
      continue;
    }
    if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    next = EncodeUtf8(c, next);  // an unpaired surrogate keeps its own three-byte form
  }
  out.resize(static_cast<size_t>(next - out.data()));
  return out;
}

}  // namespace qzr
