// TIniFile over the profile functions of the platform seam.
#include "stores/ini_file.h"

#include "base/errors.h"
#include "base/int_text.h"
#include "platform/platform.h"

namespace qzr {
namespace {

constexpr uint32_t kKeyListBuffer = 16384;
constexpr uint32_t kValueBuffer = 2048;

// The key names of a section, as the zero-separated list the platform gives.
std::string KeyList(ProfileApi& profile, const std::string& fileName, const std::string& section) {
  return profile.GetString(section, std::nullopt, "", kKeyListBuffer, fileName);
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : FileName(std::move(fileName)), profile_(*Os().profile) {}

TIniFile::~TIniFile() {
  try {
    profile_.WriteString(std::nullopt, std::nullopt, std::nullopt, FileName);
  } catch (...) {
    // A flush that fails leaves the platform's cache to be written later; nothing to report.
  }
}

bool TIniFile::SectionExists(const std::string& section) const { return !KeyList(profile_, FileName, section).empty(); }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  std::string list = KeyList(profile_, FileName, section);
  SystemApi& system = *Os().system;
  std::string wanted = system.UpperCase(key);
  for (size_t pos = 0; pos < list.size();) {
    size_t end = list.find('\0', pos);
    if (end == std::string::npos) end = list.size();
    if (system.UpperCase(list.substr(pos, end - pos)) == wanted) return true;
    pos = end + 1;
  }
  return false;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const {
  return profile_.GetString(section, key, fallback, kValueBuffer, FileName);
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const {
  std::string text = ReadString(section, key, "");
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
  return TextToIntDef(text, fallback);
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (!profile_.WriteString(section, key, value, FileName)) RaiseUnableToWrite(FileName);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::EraseSection(const std::string& section) {
  if (!profile_.WriteString(section, std::nullopt, std::nullopt, FileName)) RaiseUnableToWrite(FileName);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  profile_.WriteString(section, key, std::nullopt, FileName);
}

}  // namespace qzr
