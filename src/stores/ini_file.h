// TIniFile: a value in an INI file, addressed by section and key, read and written through the
// platform's profile functions at once (or through other profile functions the caller gives, such
// as the panel's read cache); nothing is cached here.
#pragma once
#include <cstdint>
#include <string>

#include "platform/profile_api.h"

namespace qzr {

class TIniFile {
 public:
  explicit TIniFile(std::string fileName);
  TIniFile(std::string fileName, ProfileApi& profile) : FileName(std::move(fileName)), profile_(profile) {}
  // Asks the platform to flush its cached copy of the file; never raises.
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  // Whether the section has at least one key.
  bool SectionExists(const std::string& section) const;
  // Whether the key is among the section's keys, compared without regard to case by the
  // user's locale.
  bool ValueExists(const std::string& section, const std::string& key) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;
  // Raise "Unable to write to %s" when the platform refuses.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void EraseSection(const std::string& section);
  // A refused deletion is ignored.
  void DeleteKey(const std::string& section, const std::string& key);

  const std::string FileName;  // path text

 private:
  ProfileApi& profile_;
};

}  // namespace qzr
