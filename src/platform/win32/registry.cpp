// Win32 registry backend: the nine registry calls, passed straight through.
#include "platform/win32/backends.h"

#include <windows.h>

namespace qzr::win32 {
namespace {

HKEY H(RegHandle h) { return reinterpret_cast<HKEY>(h); }

}  // namespace

long Registry::CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG rc = RegCreateKeyExA(H(base), subKey.c_str(), 0, nullptr, 0, access, nullptr, &key, &disposition);
  *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(key) : 0;
  return rc;
}

long Registry::OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExA(H(base), subKey.c_str(), 0, access, &key);
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

long Registry::DeleteKey(RegHandle base, const std::string& subKey) { return RegDeleteKeyA(H(base), subKey.c_str()); }

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

}  // namespace qzr::win32
