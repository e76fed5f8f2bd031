// A small reader of the registry editor's Unicode files as the undo files are written (a
// byte-order mark, UTF-16 LE, "Windows Registry Editor Version 5.00"): key headers, "name"=... and
// @=... lines of quoted text, dword: and hex:/hex(N): lists wrapped with "\" and a line end. Written apart from the writer (apply/reg_file_text) so that a round trip
// through both can find the writer's faults.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qzr::fuzz {

struct RegFileKey {
  std::string Name;  // "HKEY_CURRENT_USER\A\B"
  bool Deleted = false;  // "[-...]"
  // name ("" for @, UTF-8): type, data as the W calls hand it over (strings UTF-16 LE)
  std::map<std::string, std::pair<uint32_t, std::string>> Values;
  bool operator==(const RegFileKey&) const = default;
};

// The keys in the order of their headers; false, with what went wrong in `error`, for a line
// the format does not allow (a value before any header, a bad escape, a hex list that does not
// parse, a value named twice in a key).
bool ReadRegFile(const std::string& bytes, std::vector<RegFileKey>* keys, std::string* error);

}  // namespace qzr::fuzz
