// Importing a registry file into the substitute registry.
#include "platform/posix/reg_import.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/win_codes.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"

namespace qzr::posix {
namespace {

constexpr long kImportFailed = 1;

// The file's logical lines: CR LF ends a line, a "\" at its end joins the next one (its leading
// blanks dropped).
std::vector<std::string> LogicalLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool joining = false;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    std::string part = bytes.substr(start, end - start);
    start = end + 2;
    if (joining) part.erase(0, part.find_first_not_of(' '));
    // Only a hex list ends in a backslash: a quoted string ends with its quote, a header with "]".
    joining = !part.empty() && part.back() == '\\' && !(line + part).starts_with(';');
    if (joining) part.pop_back();
    line += part;
    if (!joining) lines.push_back(std::exchange(line, {}));
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// A quoted text from `at` (at the opening quote), unescaped; `at` ends after the closing quote.
bool Quoted(const std::string& line, size_t& at, std::string* text) {
  if (at >= line.size() || line[at] != '"') return false;
  for (++at; at < line.size(); ++at) {
    char c = line[at];
    if (c == '"') {
      ++at;
      return true;
    }
    if (c == '\\' && at + 1 < line.size()) {
      c = line[++at];
      *text += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    } else {
      *text += c;
    }
  }
  return false;
}

bool HexBytes(const std::string& list, std::string* data) {
  size_t at = 0;
  while (at < list.size()) {
    if (at + 2 > list.size()) return false;
    char* end = nullptr;
    const std::string digits = list.substr(at, 2);
    const long byte = std::strtol(digits.c_str(), &end, 16);
    if (end != digits.c_str() + 2) return false;
    *data += static_cast<char>(byte);
    at += 2;
    if (at < list.size() && list[at++] != ',') return false;
  }
  return true;
}

// The value after "=": its type and data.
bool ValueData(const std::string& text, uint32_t* type, std::string* data) {
  if (text.starts_with('"')) {
    size_t at = 0;
    *type = win::kRegSz;
    std::string quoted;
    if (!Quoted(text, at, &quoted) || at != text.size()) return false;
    *data = Utf16LeBytes(Utf8ToUtf16(quoted) + u'\0');
    return true;
  }
  if (text.starts_with("dword:") && text.size() == 14) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(text.c_str() + 6, &end, 16);
    if (end != text.c_str() + text.size()) return false;
    *type = win::kRegDword;
    for (int i = 0; i < 4; ++i) *data += static_cast<char>(n >> (8 * i) & 0xFF);
    return true;
  }
  if (text.starts_with("hex:")) {
    *type = win::kRegBinary;
    return HexBytes(text.substr(4), data);
  }
  if (text.starts_with("hex(")) {
    const size_t close = text.find("):");
    if (close == std::string::npos) return false;
    *type = static_cast<uint32_t>(std::strtoul(text.substr(4, close - 4).c_str(), nullptr, 16));
    return HexBytes(text.substr(close + 2), data);
  }
  return false;
}

bool SplitKey(const std::string& name, RegHandle* root, std::string* path) {
  const size_t slash = name.find('\\');
  const std::string rootName = name.substr(0, slash);
  for (const auto& [handle, known] : kRootKeys) {
    if (rootName == known) {
      *root = handle;
      *path = slash == std::string::npos ? std::string() : name.substr(slash + 1);
      return true;
    }
  }
  return false;
}

// The key with everything below it, deepest first (the registry deletes only empty keys).
bool DeleteTree(RegistryApi& registry, RegHandle root, const std::string& path) {
  RegHandle key = 0;
  long rc = registry.OpenKeyW(root, Utf8ToUtf16(path), win::kKeyAllAccess, &key);
  if (rc == win::kFileNotFound) return true;
  if (rc != win::kSuccess) return false;
  std::vector<std::string> subKeys;
  std::u16string name;
  for (uint32_t i = 0; registry.EnumKeyW(key, i, &name) == win::kSuccess; ++i) subKeys.push_back(Utf16ToUtf8(name));
  registry.CloseKey(key);
  for (const std::string& sub : subKeys)
    if (!DeleteTree(registry, root, path + "\\" + sub)) return false;
  // The substitute's ANSI code page is UTF-8: the 8-bit call takes the path as it is.
  return registry.DeleteKey(root, path) == win::kSuccess;
}

class OpenKey {
 public:
  explicit OpenKey(RegistryApi& registry) : registry_(registry) {}
  ~OpenKey() { Close(); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  bool Create(RegHandle root, const std::string& path) {
    Close();
    return registry_.CreateKeyW(root, Utf8ToUtf16(path), win::kKeyAllAccess, &key_) == win::kSuccess;
  }
  void Close() {
    if (key_) registry_.CloseKey(key_);
    key_ = 0;
  }
  RegHandle get() const { return key_; }

 private:
  RegistryApi& registry_;
  RegHandle key_ = 0;
};

}  // namespace

long ImportRegFile(const std::string& bytes, RegistryApi& registry) {
  if (!bytes.starts_with("\xff\xfe") || bytes.size() % 2 != 0) return kImportFailed;
  const std::vector<std::string> lines = LogicalLines(Utf16ToUtf8(Utf16FromLeBytes(bytes.substr(2))));
  if (lines.empty() || lines[0] != "Windows Registry Editor Version 5.00") return kImportFailed;
  OpenKey key(registry);
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line.starts_with(';')) continue;
    if (line.starts_with('[') && line.ends_with(']')) {
      const bool remove = line.starts_with("[-");
      RegHandle root = 0;
      std::string path;
      if (!SplitKey(line.substr(remove ? 2 : 1, line.size() - (remove ? 3 : 2)), &root, &path)) return kImportFailed;
      if (remove) {
        key.Close();
        if (!DeleteTree(registry, root, path)) return kImportFailed;
      } else if (!key.Create(root, path)) {
        return kImportFailed;
      }
      continue;
    }
    if (!key.get()) return kImportFailed;
    std::string name;
    size_t at = 0;
    if (line.starts_with("@=")) {
      at = 1;
    } else if (!Quoted(line, at, &name) || at >= line.size() || line[at] != '=') {
      return kImportFailed;
    }
    const std::string text = line.substr(at + 1);
    if (text == "-") {
      const long rc = registry.DeleteValue(key.get(), name);  // UTF-8 is the substitute's ANSI
      if (rc != win::kSuccess && rc != win::kFileNotFound) return kImportFailed;
      continue;
    }
    uint32_t type = 0;
    std::string data;
    if (!ValueData(text, &type, &data)) return kImportFailed;
    if (registry.SetValueW(key.get(), Utf8ToUtf16(name), type, data) != win::kSuccess) return kImportFailed;
  }
  return win::kSuccess;
}

}  // namespace qzr::posix
