// Win32 registry backend: the registry calls, passed through in the registry view that
// Windows itself reads.
#include "platform/win32/backends.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/system_function.h"

namespace qzr::win32 {
namespace {

HKEY H(RegHandle h) { return reinterpret_cast<HKEY>(h); }

// The view flag of every open, create and delete: the 64-bit view on 64-bit Windows. A 32-bit
// module there (WoW64) is otherwise sent to the 32-bit view: HKEY_LOCAL_MACHINE\SOFTWARE would
// mean its WOW6432Node copy, which Windows and 64-bit programs never read. 32-bit Windows has one
// view and gets no flag, as Windows 2000 refuses an open that carries one.
REGSAM View() {
  static const REGSAM view = [] {
    if (sizeof(void*) == 8) return REGSAM{KEY_WOW64_64KEY};
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64Process = SystemFunction<IsWow64ProcessFn>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    bool twoViews = isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
    return twoViews ? REGSAM{KEY_WOW64_64KEY} : REGSAM{0};
  }();
  return view;
}

}  // namespace

long Registry::CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG rc = RegCreateKeyExA(H(base), subKey.c_str(), 0, nullptr, 0, access | View(), nullptr, &key, &disposition);
  *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(key) : 0;
  return rc;
}

long Registry::OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExA(H(base), subKey.c_str(), 0, access | View(), &key);
  *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(key) : 0;
  return rc;
}

long Registry::CloseKey(RegHandle key) { return RegCloseKey(H(key)); }

long Registry::QueryValue(RegHandle key, const std::string& name, uint32_t* type, uint8_t* data, uint32_t* size) {
  DWORD t = 0;
  DWORD s = size ? *size : 0;
  LONG rc = RegQueryValueExA(H(key), name.c_str(), nullptr, type ? &t : nullptr, data, size ? &s : nullptr);
  if (type) *type = t;
  if (size) *size = s;
  return rc;
}

long Registry::SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data, uint32_t size) {
  return RegSetValueExA(H(key), name.c_str(), 0, type, data, size);
}

long Registry::DeleteValue(RegHandle key, const std::string& name) {
  return RegDeleteValueA(H(key), name.c_str());
}

// RegDeleteKeyA always means the caller's own view; only the Ex call takes one. Systems before
// Vista (64-bit XP aside) lack it and have a single view anyway.
long Registry::DeleteKey(RegHandle base, const std::string& subKey) {
  using RegDeleteKeyExAFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
  static const auto deleteKeyEx = SystemFunction<RegDeleteKeyExAFn>("advapi32.dll", "RegDeleteKeyExA");
  if (deleteKeyEx) return deleteKeyEx(H(base), subKey.c_str(), View(), 0);
  return RegDeleteKeyA(H(base), subKey.c_str());
}

long Registry::EnumKey(RegHandle key, uint32_t index, char* name, uint32_t* length) {
  DWORD len = *length;
  LONG rc = RegEnumKeyExA(H(key), index, name, &len, nullptr, nullptr, nullptr, nullptr);
  *length = len;
  return rc;
}

long Registry::QueryInfoKey(RegHandle key, RegKeyInfo* info) {
  DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxData = 0;
  FILETIME written{};
  LONG rc = RegQueryInfoKeyA(H(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                             &maxValueName, &maxData, nullptr, &written);
  *info = RegKeyInfo{subKeys, maxSubKey, values, maxValueName, maxData,
                     (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime};
  return rc;
}

// The view is the handle's: it was opened in the 64-bit view above.
long Registry::EnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type,
                         uint8_t* data, uint32_t* size) {
  DWORD nameLen = *nameLength, t = 0, s = *size;
  LONG rc = RegEnumValueA(H(key), index, name, &nameLen, nullptr, &t, data, &s);
  *nameLength = nameLen;
  *type = t;
  *size = s;
  return rc;
}

}  // namespace qzr::win32

// The wide calls. wchar_t is UTF-16 on Windows, so the strings pass as they are.
namespace qzr::win32 {
namespace {

const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Value names reach 16 383 characters, key names 255; data is asked for again at the size the
// call reports, in case it grew in between.
constexpr DWORD kMaxValueName = 16384;
constexpr DWORD kMaxKeyName = 256;
constexpr int kAttempts = 4;

}  // namespace

long Registry::OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(H(base), W(subKey), 0, access | View(), &key);
  *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(key) : 0;
  return rc;
}

long Registry::CreateKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG rc = RegCreateKeyExW(H(base), W(subKey), 0, nullptr, 0, access | View(), nullptr, &key, &disposition);
  *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(key) : 0;
  return rc;
}

long Registry::EnumKeyW(RegHandle key, uint32_t index, std::u16string* name) {
  std::u16string buffer(kMaxKeyName, u'\0');
  DWORD length = kMaxKeyName;
  LONG rc = RegEnumKeyExW(H(key), index, reinterpret_cast<wchar_t*>(buffer.data()), &length, nullptr, nullptr, nullptr,
                          nullptr);
  *name = rc == ERROR_SUCCESS ? buffer.substr(0, length) : std::u16string();
  return rc;
}

long Registry::EnumValueW(RegHandle key, uint32_t index, std::u16string* name, uint32_t* type, std::string* data) {
  std::u16string nameBuffer(kMaxValueName, u'\0');
  std::string bytes(256, '\0');
  LONG rc = ERROR_MORE_DATA;
  for (int attempt = 0; rc == ERROR_MORE_DATA && attempt < kAttempts; ++attempt) {
    DWORD nameLength = kMaxValueName, t = 0, size = static_cast<DWORD>(bytes.size());
    rc = RegEnumValueW(H(key), index, reinterpret_cast<wchar_t*>(nameBuffer.data()), &nameLength, nullptr, &t,
                       reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (rc == ERROR_MORE_DATA) {
      bytes.resize(std::max<size_t>(size, bytes.size() * 2));
    } else if (rc == ERROR_SUCCESS) {
      *name = nameBuffer.substr(0, nameLength);
      *type = t;
      *data = bytes.substr(0, size);
    }
  }
  return rc;
}

long Registry::QueryValueW(RegHandle key, const std::u16string& name, uint32_t* type, std::string* data) {
  DWORD t = 0, size = 0;
  LONG rc = RegQueryValueExW(H(key), W(name), nullptr, &t, nullptr, &size);
  for (int attempt = 0; rc == ERROR_SUCCESS && attempt < kAttempts; ++attempt) {
    std::string bytes(size, '\0');
    rc = RegQueryValueExW(H(key), W(name), nullptr, &t, reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (rc == ERROR_SUCCESS) {
      *type = t;
      *data = bytes.substr(0, size);
      return rc;
    }
    if (rc == ERROR_MORE_DATA) rc = ERROR_SUCCESS;
  }
  return rc;
}

long Registry::SetValueW(RegHandle key, const std::u16string& name, uint32_t type, const std::string& data) {
  return RegSetValueExW(H(key), W(name), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size()));
}

// As DeleteKey: the Ex call where the system has it, for its view.
long Registry::DeleteKeyW(RegHandle base, const std::u16string& subKey) {
  using RegDeleteKeyExWFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  static const auto deleteKeyEx = SystemFunction<RegDeleteKeyExWFn>("advapi32.dll", "RegDeleteKeyExW");
  if (deleteKeyEx) return deleteKeyEx(H(base), W(subKey), View(), 0);
  return RegDeleteKeyW(H(base), W(subKey));
}

}  // namespace qzr::win32
