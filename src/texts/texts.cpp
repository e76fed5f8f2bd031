// Code-page conversion for the system's texts: only ASCII and the Cyrillic letters (with Ё/ё and
// the few punctuation marks Windows-1251 shares with Unicode) are ever needed.
#include "texts/texts.h"

#include "util/utf16.h"

namespace qzr {
namespace {

// Windows-1251 bytes 0x80..0xBF as Unicode code points.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t FromCp1251(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);
  return kHigh[b - 0x80];
}

char ToCp1251(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<char>(0xC0 + (c - 0x0410));
  for (int i = 0; i < 64; ++i)
    if (kHigh[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    char32_t c = b;
    size_t len = 1;
    if (b >= 0xE0 && i + 2 < utf8.size()) {
      c = ((b & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
      len = 3;
    } else if (b >= 0xC0 && i + 1 < utf8.size()) {
      c = ((b & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
      len = 2;
    }
    out += ToCp1251(c);
    i += len;
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char ch : cp1251) AppendUtf8(out, FromCp1251(static_cast<unsigned char>(ch)));
  return out;
}

std::string_view Bilingual::Pick(uint8_t language) const {
  if (language == kEnglish) return English;
  if (language == kRussian) return Russian;
  return {};
}

std::string Bilingual::PickCp1251(uint8_t language) const { return Utf8ToCp1251(Pick(language)); }

}  // namespace qzr
