// Reading the registry state for an undo file.
#include "apply/reg_backup.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "apply/reg_file_text.h"
#include "platform/platform.h"
#include "stores/vesk_registry.h"
#include "util/text.h"

namespace qzr {
namespace {

RegistryApi& Reg() { return *Os().registry; }

// A key opened for reading, closed when it goes.
class ReadKey {
 public:
  ReadKey(RegHandle base, const std::string& subKey) { status_ = Reg().OpenKey(base, subKey, win::kKeyRead, &key_); }
  ~ReadKey() {
    try {
      if (key_) Reg().CloseKey(key_);
    } catch (...) {
      // A read handle that cannot be closed holds nothing back; a destructor must not raise.
    }
  }
  ReadKey(const ReadKey&) = delete;
  ReadKey& operator=(const ReadKey&) = delete;
  long status() const { return status_; }
  RegHandle get() const { return key_; }

 private:
  RegHandle key_ = 0;
  long status_ = 0;
};

struct Value {
  std::string Name;
  uint32_t Type = 0;
  std::string Data;
};

std::string Joined(const std::vector<std::string>& parts, size_t count) {
  std::string path;
  for (size_t i = 0; i < count; ++i) path += (i ? "\\" : "") + parts[i];
  return path;
}

// A key name the header line "[...]" cannot hold as it is: the registry editor takes "]" and a
// line end as the end of the name.
bool UnwritableKeyName(const std::string& name) { return name.find_first_of("]\r\n") != std::string::npos; }

std::string FullName(RegHandle root, const std::string& path) {
  return path.empty() ? RootKeyName(root) : RootKeyName(root) + "\\" + path;
}

// The value's type and data; nothing when it does not exist; false when it cannot be read.
bool ReadValue(RegHandle key, const std::string& name, std::optional<Value>* value) {
  uint32_t type = 0, size = 0;
  long rc = Reg().QueryValue(key, name, &type, nullptr, &size);
  if (rc == win::kFileNotFound) return true;
  for (int attempt = 0; rc == win::kSuccess && attempt < 4; ++attempt) {
    std::string data(size, '\0');
    uint32_t got = size;
    rc = Reg().QueryValue(key, name, &type, reinterpret_cast<uint8_t*>(data.data()), &got);
    if (rc == win::kSuccess) {
      data.resize(got);
      *value = Value{name, type, std::move(data)};
      return true;
    }
    if (rc == win::kMoreData) {  // it grew in between
      size = got;
      rc = win::kSuccess;
    }
  }
  return false;
}

// Every value of an open key, ordered by name as the registry editor lists them.
bool ReadValues(RegHandle key, std::vector<Value>* values) {
  RegKeyInfo info;
  if (Reg().QueryInfoKey(key, &info) != win::kSuccess) return false;
  // Names in characters may take two bytes each in a double-byte code page.
  std::string name(size_t{info.MaxValueNameLength} * 2 + 2, '\0');
  std::string data(size_t{info.MaxDataLength} + 2, '\0');
  for (uint32_t index = 0;; ++index) {
    uint32_t nameLength = static_cast<uint32_t>(name.size()), type = 0, size = static_cast<uint32_t>(data.size());
    long rc = Reg().EnumValue(key, index, name.data(), &nameLength, &type, reinterpret_cast<uint8_t*>(data.data()), &size);
    if (rc == win::kNoMoreItems) break;
    if (rc == win::kMoreData && name.size() < 65536 && data.size() < (1u << 30)) {
      // A value written since the key was measured: larger buffers, the same index again.
      name.resize(std::max<size_t>(name.size() * 2, 2 * 16384 + 2));
      data.resize(std::max<size_t>(data.size() * 2, size_t{size} + 2));
      --index;
      continue;
    }
    if (rc != win::kSuccess) return false;
    values->push_back(Value{name.substr(0, nameLength), type, data.substr(0, size)});
  }
  std::stable_sort(values->begin(), values->end(), [](const Value& a, const Value& b) { return LessNoCaseAscii(a.Name, b.Name); });
  return true;
}

bool ReadSubKeyNames(RegHandle key, std::vector<std::string>* names) {
  RegKeyInfo info;
  if (Reg().QueryInfoKey(key, &info) != win::kSuccess) return false;
  std::string name(size_t{info.MaxSubKeyNameLength} * 2 + 2, '\0');
  for (uint32_t index = 0;; ++index) {
    uint32_t length = static_cast<uint32_t>(name.size());
    long rc = Reg().EnumKey(key, index, name.data(), &length);
    if (rc == win::kNoMoreItems) break;
    if (rc == win::kMoreData && name.size() < 4096) {
      name.resize(name.size() * 2);
      --index;
      continue;
    }
    if (rc != win::kSuccess) return false;
    names->push_back(name.substr(0, length));
  }
  return true;
}

// The key's header, its values and, depth first, every key below it.
bool ExportTree(RegHandle root, const std::string& path, std::string* out, int depth = 0) {
  // The registry nests at most 512 levels; deeper means a loop the seam should not have.
  if (depth > 512) return false;
  ReadKey key(root, path);
  if (key.status() != win::kSuccess) return false;
  std::vector<Value> values;
  std::vector<std::string> subKeys;
  if (!ReadValues(key.get(), &values) || !ReadSubKeyNames(key.get(), &subKeys)) return false;
  *out += "\r\n" + RegKeyLine(FullName(root, path));
  for (const Value& v : values) *out += RegValueLine(v.Name, v.Type, v.Data);
  for (const std::string& sub : subKeys)
    if (UnwritableKeyName(sub) || !ExportTree(root, path.empty() ? sub : path + "\\" + sub, out, depth + 1)) return false;
  return true;
}

// The old value in a few words: a number, a text, bytes, or the type and size of the rest.
std::string Described(const Value& v) {
  constexpr size_t kShown = 60;
  std::string text;
  if (v.Type == win::kRegDword && v.Data.size() == 4) {
    const auto* b = reinterpret_cast<const unsigned char*>(v.Data.data());
    text = std::to_string(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24);
  } else if (v.Type == win::kRegQword && v.Data.size() == 8) {
    uint64_t number = 0;
    for (size_t i = 8; i-- > 0;) number = number << 8 | static_cast<unsigned char>(v.Data[i]);
    text = std::to_string(number);
  } else if (v.Type == win::kRegSz || v.Type == win::kRegExpandSz) {
    text = "\"" + v.Data.substr(0, v.Data.find('\0')) + "\"";
  } else if (v.Type == win::kRegMultiSz) {
    // "one", "two": the strings up to the empty one that ends the list.
    for (size_t start = 0; start < v.Data.size() && v.Data[start] != '\0';) {
      size_t end = std::min(v.Data.find('\0', start), v.Data.size());
      text += (text.empty() ? "\"" : ", \"") + v.Data.substr(start, end - start) + "\"";
      start = end + 1;
    }
  } else if (v.Type == win::kRegBinary) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (unsigned char c : v.Data) text += {kDigits[c >> 4], kDigits[c & 15]};
  } else {
    text = "type " + std::to_string(v.Type) + ", " + std::to_string(v.Data.size()) + " bytes";
  }
  if (text.size() > kShown) text = text.substr(0, kShown) + "...";
  for (char& c : text)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  return text;
}

}  // namespace

std::optional<RegBackup> ReadRegBackup(RegHandle root, const std::string& givenPath, const std::string& givenName,
                                       bool wholeKey) {
  // The system reads names up to a zero byte, and so does the store.
  const std::string fullPath = givenPath.substr(0, givenPath.find('\0'));
  const std::string valueName = givenName.substr(0, givenName.find('\0'));
  const std::string rest = fullPath.starts_with('\\') ? fullPath.substr(1) : fullPath;
  // The store never deletes a root, nor a path that begins with a second backslash.
  if (wholeKey && (rest.empty() || rest.front() == '\\')) return RegBackup{"", "nothing", {}};
  const std::vector<std::string> parts = KeyPathParts(rest);
  if (std::any_of(parts.begin(), parts.end(), UnwritableKeyName)) return std::nullopt;
  const std::string path = Joined(parts, parts.size());
  // The first key on the path that does not exist: the Save creates it and all below it.
  size_t existing = 0;
  for (; existing < parts.size(); ++existing) {
    ReadKey key(root, Joined(parts, existing + 1));
    if (key.status() == win::kFileNotFound) break;
    if (key.status() != win::kSuccess) return std::nullopt;
  }
  RegBackup backup;
  if (existing < parts.size()) {
    // Deleting a key that is not there changes nothing; the line says so and does no harm.
    backup.Body = "\r\n" + RegKeyLine(FullName(root, Joined(parts, wholeKey ? parts.size() : existing + 1)), true);
    backup.Before = "no key";
    if (!wholeKey)
      for (size_t count = parts.size(); count > existing; --count) backup.Created.push_back(Joined(parts, count));
    return backup;
  }
  if (wholeKey) {
    if (!ExportTree(root, path, &backup.Body)) return std::nullopt;
    backup.Before = "the key with everything below it";
    return backup;
  }
  ReadKey key(root, path);
  std::optional<Value> value;
  if (key.status() != win::kSuccess || !ReadValue(key.get(), valueName, &value)) return std::nullopt;
  backup.Body = "\r\n" + RegKeyLine(FullName(root, path));
  if (value) {
    backup.Body += RegValueLine(value->Name, value->Type, value->Data);
    backup.Before = Described(*value);
  } else {
    backup.Body += RegDeleteValueLine(valueName);
    backup.Before = "no value";
  }
  return backup;
}

std::string RegKeyFullName(RegHandle root, const std::string& givenPath) {
  const std::string fullPath = givenPath.substr(0, givenPath.find('\0'));
  const std::string rest = fullPath.starts_with('\\') ? fullPath.substr(1) : fullPath;
  const std::vector<std::string> parts = KeyPathParts(rest);
  return FullName(root, Joined(parts, parts.size()));
}

}  // namespace qzr
