// Win32 profile backend. A file whose path has an exact form in the ANSI code page goes through
// GetPrivateProfileStringA and WritePrivateProfileStringA, as it always did; one that has none
// (a folder named in another script) through the W calls, with the section, key and value
// converted from and to the ANSI code page, so the file's contents are the same either way.
#include "platform/win32/backends.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace qzr::win32 {
namespace {

const char* Opt(const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; }

// The path in the ANSI code page when every character has its own form there.
std::optional<std::string> ExactAnsiPath(const std::string& path) {
  const std::wstring wide = WideOfPath(path);
  if (wide.empty()) return std::string();
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ansi.data(), n, nullptr,
                      &lossy);
  return lossy ? std::nullopt : std::optional<std::string>(ansi);
}

std::optional<std::wstring> WideOfAnsi(const std::optional<std::string>& s) {
  if (!s) return std::nullopt;
  return ToWide(CP_ACP, *s);
}

const wchar_t* Opt(const std::optional<std::wstring>& s) { return s ? s->c_str() : nullptr; }

std::string AnsiOfWide(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::string Profile::GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                               const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) {
  if (bufferSize == 0) return {};
  if (std::optional<std::string> ansiPath = ExactAnsiPath(fileName)) {
    std::vector<char> buffer(bufferSize, '\0');
    DWORD n = GetPrivateProfileStringA(Opt(section), Opt(key), defaultValue.c_str(), buffer.data(), bufferSize,
                                       ansiPath->c_str());
    return std::string(buffer.data(), n);
  }
  std::vector<wchar_t> buffer(bufferSize, L'\0');
  const std::optional<std::wstring> wideSection = WideOfAnsi(section), wideKey = WideOfAnsi(key);
  DWORD n = GetPrivateProfileStringW(Opt(wideSection), Opt(wideKey), ToWide(CP_ACP, defaultValue).c_str(),
                                     buffer.data(), bufferSize, WideOfPath(fileName).c_str());
  std::string answer = AnsiOfWide(buffer.data(), static_cast<int>(n));
  // The A call's buffer counts bytes: a Cyrillic or Far-East answer is no longer than it allows.
  if (answer.size() >= bufferSize) answer.resize(bufferSize - 1);
  return answer;
}

bool Profile::WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value, const std::string& fileName) {
  if (std::optional<std::string> ansiPath = ExactAnsiPath(fileName))
    return WritePrivateProfileStringA(Opt(section), Opt(key), Opt(value), ansiPath->c_str()) != 0;
  // A file the W call creates is written in the ANSI code page, as the A call would have written it.
  const std::optional<std::wstring> wideSection = WideOfAnsi(section), wideKey = WideOfAnsi(key),
                                    wideValue = WideOfAnsi(value);
  return WritePrivateProfileStringW(Opt(wideSection), Opt(wideKey), Opt(wideValue), WideOfPath(fileName).c_str()) != 0;
}

}  // namespace qzr::win32
