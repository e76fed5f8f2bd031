// UTF-8 and ANSI text to UTF-16 for the W API.
#pragma once
#include <windows.h>

#include <string>

namespace qzr::win32 {

inline std::wstring ToWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

inline std::wstring Utf8ToWide(const std::string& text) { return ToWide(CP_UTF8, text); }

// A path as the 8-bit file calls take it (the ANSI code page), for a call that has only a W form.
inline std::wstring AnsiToWide(const std::string& text) { return ToWide(CP_ACP, text); }

}  // namespace qzr::win32
