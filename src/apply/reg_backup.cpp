// Reading the registry state for an undo file.
#include "apply/reg_backup.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "apply/reg_file_text.h"
#include "platform/platform.h"
#include "stores/vesk_registry.h"
#include "util/text.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"

namespace qzr {
namespace {

RegistryApi& Reg() { return *Os().registry; }

// A key opened for reading by its UTF-8 path, closed when it goes.
class ReadKey {
 public:
  ReadKey(RegHandle base, const std::string& subKey) {
    status_ = Reg().OpenKeyW(base, Utf8ToUtf16(subKey), win::kKeyRead, &key_);
  }
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

// Names are UTF-8; data as the wide calls hand it.
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
  uint32_t type = 0;
  std::string data;
  const long rc = Reg().QueryValueW(key, Utf8ToUtf16(name), &type, &data);
  if (rc == win::kFileNotFound) return true;
  if (rc != win::kSuccess) return false;
  *value = Value{name, type, std::move(data)};
  return true;
}

// Every value of an open key, ordered by name as the registry editor lists them.
bool ReadValues(RegHandle key, std::vector<Value>* values) {
  for (uint32_t index = 0;; ++index) {
    std::u16string name;
    uint32_t type = 0;
    std::string data;
    const long rc = Reg().EnumValueW(key, index, &name, &type, &data);
    if (rc == win::kNoMoreItems) break;
    if (rc != win::kSuccess) return false;
    values->push_back(Value{Utf16ToUtf8(name), type, std::move(data)});
  }
  std::stable_sort(values->begin(), values->end(), [](const Value& a, const Value& b) { return LessNoCaseAscii(a.Name, b.Name); });
  return true;
}

bool ReadSubKeyNames(RegHandle key, std::vector<std::string>* names) {
  for (uint32_t index = 0;; ++index) {
    std::u16string name;
    const long rc = Reg().EnumKeyW(key, index, &name);
    if (rc == win::kNoMoreItems) break;
    if (rc != win::kSuccess) return false;
    names->push_back(Utf16ToUtf8(name));
  }
  return true;
}

// The key `subKey` below `parent`, named `fullName` in the file: its header, its values and,
// depth first, every key below it. Each key is opened below the one above it, so a deep tree is
// not looked up from its root again for every key.
bool ExportTree(RegHandle parent, const std::string& subKey, const std::string& fullName, std::string* out,
                int depth = 0) {
  // The registry nests at most 512 levels; deeper means a loop the seam should not have.
  if (depth > 512) return false;
  ReadKey key(parent, subKey);
  if (key.status() != win::kSuccess) return false;
  std::vector<Value> values;
  std::vector<std::string> subKeys;
  if (!ReadValues(key.get(), &values) || !ReadSubKeyNames(key.get(), &subKeys)) return false;
  out->append("\r\n").append(RegKeyLine(fullName));
  for (const Value& v : values) out->append(RegValueLine(v.Name, v.Type, v.Data));
  std::string subName = fullName + "\\";
  for (const std::string& sub : subKeys) {
    if (UnwritableKeyName(sub)) return false;
    subName.resize(fullName.size() + 1);
    if (!ExportTree(key.get(), sub, subName.append(sub), out, depth + 1)) return false;
  }
  return true;
}

// The strings of a string value's data, up to the terminating zero (or, for a multi-string, up
// to the empty string that ends the list).
std::vector<std::u16string> Strings(const Value& v) {
  const std::u16string units = Utf16FromLeBytes(v.Data);
  std::vector<std::u16string> strings;
  for (size_t start = 0; start < units.size() && units[start] != u'\0';) {
    const size_t end = std::min(units.find(u'\0', start), units.size());
    strings.push_back(units.substr(start, end - start));
    if (v.Type != win::kRegMultiSz) break;
    start = end + 1;
  }
  return strings;
}

// The old value in a few words (UTF-8): a number, a text, bytes, or the type and size of the rest.
std::string Described(const Value& v) {
  constexpr size_t kShown = 60;
  std::u16string text;
  if (v.Type == win::kRegDword && v.Data.size() == 4) {
    const auto* b = reinterpret_cast<const unsigned char*>(v.Data.data());
    text = Utf8ToUtf16(std::to_string(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24));
  } else if (v.Type == win::kRegQword && v.Data.size() == 8) {
    uint64_t number = 0;
    for (size_t i = 8; i-- > 0;) number = number << 8 | static_cast<unsigned char>(v.Data[i]);
    text = Utf8ToUtf16(std::to_string(number));
  } else if (v.Type == win::kRegSz || v.Type == win::kRegExpandSz || v.Type == win::kRegMultiSz) {
    // "one", "two"
    const std::vector<std::u16string> strings = Strings(v);
    for (const std::u16string& one : strings) text += (text.empty() ? u"\"" : u", \"") + one + u"\"";
    if (strings.empty() && v.Type != win::kRegMultiSz) text = u"\"\"";
  } else if (v.Type == win::kRegBinary) {
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    for (unsigned char c : v.Data) text += {kDigits[c >> 4], kDigits[c & 15]};
  } else {
    text = Utf8ToUtf16("type " + std::to_string(v.Type) + ", " + std::to_string(v.Data.size()) + " bytes");
  }
  if (text.size() > kShown) {
    // Never half of a surrogate pair.
    const size_t cut = (text[kShown - 1] & 0xFC00) == 0xD800 ? kShown - 1 : kShown;
    text = text.substr(0, cut) + u"...";
  }
  for (char16_t& c : text)
    if (c == u'\r' || c == u'\n' || c == u'\0') c = u' ';
  return Utf16ToUtf8(text);
}

}  // namespace

std::optional<RegBackup> ReadRegBackup(RegHandle root, const std::string& givenPath, const std::string& givenName,
                                       bool wholeKey) {
  // The system reads names up to a zero byte, and so does the store.
  const std::string fullPath = givenPath.substr(0, givenPath.find('\0'));
  const std::string valueName = Os().system->AnsiToUtf8(givenName.substr(0, givenName.find('\0')));
  const std::string rest = fullPath.starts_with('\\') ? fullPath.substr(1) : fullPath;
  // The store never deletes a root, nor a path that begins with a second backslash.
  if (wholeKey && (rest.empty() || rest.front() == '\\')) return RegBackup{"", "nothing", {}};
  // The tweak's path is in the ANSI code page as the store takes it (and Created keeps it so);
  // the registry is read and the file written with its UTF-8 form.
  const std::vector<std::string> ansiParts = KeyPathParts(rest);
  std::vector<std::string> parts;
  for (const std::string& part : ansiParts) parts.push_back(Os().system->AnsiToUtf8(part));
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
      for (size_t count = parts.size(); count > existing; --count) backup.Created.push_back(Joined(ansiParts, count));
    return backup;
  }
  if (wholeKey) {
    if (!ExportTree(root, path, FullName(root, path), &backup.Body)) return std::nullopt;
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
