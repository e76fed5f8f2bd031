// The profile (INI) functions of the platform seam: GetPrivateProfileStringA and
// WritePrivateProfileStringA, with their "no section / no key / no value" forms. The file name
// is path text (UTF-8); sections, keys and values are the ANSI code page's bytes, as the file
// holds them, whatever script the path is in.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace qzr {

class ProfileApi {
 public:
  virtual ~ProfileApi() = default;
  // What GetPrivateProfileStringA places into a buffer of `bufferSize` bytes, without the final
  // zero. With no key it is the section's key names, each followed by a zero byte (the list's
  // second zero is not part of the result); with no section, the section names likewise.
  virtual std::string GetString(const std::optional<std::string>& section,
                                const std::optional<std::string>& key, const std::string& defaultValue,
                                uint32_t bufferSize, const std::string& fileName) = 0;
  // WritePrivateProfileStringA: no value deletes the key, no key erases the section, nothing at
  // all flushes the cache. Returns whether the call succeeded.
  virtual bool WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                           const std::optional<std::string>& value, const std::string& fileName) = 0;
};

}  // namespace qzr
