// Win32 profile backend: GetPrivateProfileStringA and WritePrivateProfileStringA.
#include "platform/win32/backends.h"

#include <windows.h>

#include <vector>

namespace qzr::win32 {
namespace {

const char* Opt(const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; }

}  // namespace

std::string Profile::GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                               const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) {
  if (bufferSize == 0) return {};
  std::vector<char> buffer(bufferSize, '\0');
  DWORD n = GetPrivateProfileStringA(Opt(section), Opt(key), defaultValue.c_str(), buffer.data(), bufferSize,
                                     fileName.c_str());
  return std::string(buffer.data(), n);
}

bool Profile::WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value, const std::string& fileName) {
  return WritePrivateProfileStringA(Opt(section), Opt(key), Opt(value), fileName.c_str()) != 0;
}

}  // namespace qzr::win32
