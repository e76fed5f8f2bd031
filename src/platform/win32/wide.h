// UTF-8 and ANSI text to UTF-16 for the W API, and path text to and from it.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "util/utf16.h"

namespace qzr::win32 {

inline std::wstring ToWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

inline std::wstring Utf8ToWide(const std::string& text) { return ToWide(CP_UTF8, text); }

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W API takes UTF-16");

// Path text as the W file calls take it. The util converter, not CP_UTF8: a name Windows
// allows (an unpaired surrogate) comes through as it was.
inline std::wstring WideOfPath(const std::string& path) {
  const std::u16string wide = Utf8ToUtf16(path);
  return std::wstring(wide.begin(), wide.end());
}

// A name or path the W calls gave, as path text.
inline std::string PathOfWide(const wchar_t* text, size_t length) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}
inline std::string PathOfWide(const wchar_t* text) { return PathOfWide(text, wcslen(text)); }

}  // namespace qzr::win32
