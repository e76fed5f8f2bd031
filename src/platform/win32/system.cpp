// Win32 system backend: environment, module name, code segment, clock, messages, code pages.
#include "platform/win32/backends.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace qzr::win32 {
namespace {

SYSTEMTIME ToSystemTime(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.Year);
  st.wMonth = static_cast<WORD>(t.Month);
  st.wDay = static_cast<WORD>(t.Day);
  st.wHour = static_cast<WORD>(t.Hour);
  st.wMinute = static_cast<WORD>(t.Minute);
  st.wSecond = static_cast<WORD>(t.Second);
  return st;
}

std::string WideToUtf8(const wchar_t* text, int length) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::optional<std::string> System::GetEnv(const std::string& name) {
  if (name.empty()) return std::nullopt;
  DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (needed == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::string value(needed, '\0');
  DWORD got = GetEnvironmentVariableA(name.c_str(), value.data(), needed);
  value.resize(got < needed ? got : 0);
  return value;
}

std::string System::ModuleFileName() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&NativePlatformParts), &self);
  // A module in a deep folder may have a name longer than MAX_PATH: the buffer grows until the
  // name fits (the call fills it to the brim when it does not).
  std::vector<wchar_t> name(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetModuleFileNameW(self, name.data(), static_cast<DWORD>(name.size()));
    if (n < name.size() || name.size() >= 32768) return PathOfWide(name.data(), n);
    name.resize(name.size() * 2);
  }
}

uint16_t System::CodeSegmentSelector() {
  uint16_t cs = 0;
  __asm__("mov %%cs, %0" : "=r"(cs));
  return cs;
}

LocalTime System::Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string System::FormatLongTime(const LocalTime& t) {
  SYSTEMTIME st = ToSystemTime(t);
  char buffer[128] = {};
  int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer) : std::string();
}

std::string System::FormatShortDate(const LocalTime& t) {
  SYSTEMTIME st = ToSystemTime(t);
  char buffer[128] = {};
  int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer) : std::string();
}

std::string System::ErrorMessage(long code) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::string message;
  if (n > 0 && text) {
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
    message = WideToUtf8(text, static_cast<int>(n));
  }
  if (text) LocalFree(text);
  return message;
}

bool System::FarEastLocale() { return GetSystemMetrics(SM_DBCSENABLED) != 0; }

std::string System::AnsiToUtf8(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(n));
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return WideToUtf8(wide.data(), n);
}

std::string System::Utf8ToAnsi(const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string System::UpperCase(const std::string& text) {
  std::string out = text;
  if (!out.empty()) CharUpperBuffA(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

std::optional<std::string> System::GetEnvUtf8(const std::string& name) {
  if (name.empty()) return std::nullopt;
  const std::wstring wideName = WideOfPath(name);
  SetLastError(ERROR_SUCCESS);
  DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (needed == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::vector<wchar_t> value(needed, L'\0');
  const DWORD got = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
  return PathOfWide(value.data(), got < needed ? got : 0);
}

}  // namespace qzr::win32
