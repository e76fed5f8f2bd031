// TVeskRegistry over the registry functions of the platform seam.
#include "stores/vesk_registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace qzr {
namespace {

RegistryApi& Reg() { return *Os().registry; }

// Public operations never let an error out: whatever escapes becomes the failure result.
template <typename T, typename Body>
T Quietly(T failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

template <typename Body>
void Quietly(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

ValueKind KindOfType(uint32_t type) {
  switch (type) {
    case win::kRegSz: return ValueKind::String;
    case win::kRegExpandSz: return ValueKind::ExpandString;
    case win::kRegDword: return ValueKind::Integer;
    case win::kRegBinary: return ValueKind::Binary;
    default: return ValueKind::Unknown;
  }
}

uint32_t TypeOfKind(ValueKind kind) {
  switch (kind) {
    case ValueKind::String: return win::kRegSz;
    case ValueKind::ExpandString: return win::kRegExpandSz;
    case ValueKind::Integer: return win::kRegDword;
    case ValueKind::Binary: return win::kRegBinary;
    case ValueKind::Unknown: break;
  }
  return win::kRegNone;
}

// Sets a member for a scope and puts the old value back on the way out, however it is left.
template <typename T>
class Restore {
 public:
  Restore(T& slot, T temporary) : slot_(slot), saved_(slot) { slot_ = temporary; }
  ~Restore() { slot_ = saved_; }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  T& slot_;
  T saved_;
};

// Closes a key the store opened for a moment, however the scope is left.
struct KeyCloser {
  RegHandle key;
  ~KeyCloser() {
    Quietly([&] { Reg().CloseKey(key); });
  }
};

// "" and "\" name the root, and no key path starts with a second backslash: emptying a whole
// root is never what a tweak means.
bool NamesNoKey(const std::string& rest) { return rest.empty() || rest.front() == '\\'; }

// The keys below a tree's top go by their wide names: a name outside the ANSI code page has no
// 8-bit form to open or delete it by, and would stop the tree's deletion halfway.
std::vector<std::u16string> SubKeyNames(RegHandle key, bool* complete) {
  std::vector<std::u16string> names;
  std::u16string name;
  long rc = win::kSuccess;
  for (uint32_t i = 0; (rc = Reg().EnumKeyW(key, i, &name)) == win::kSuccess; ++i) names.push_back(name);
  *complete = rc == win::kNoMoreItems;
  return names;
}

// Deletes every key below `key`, deepest first; what refuses stays.
void DeleteSubKeys(RegHandle key) {
  bool complete = false;
  for (const std::u16string& name : SubKeyNames(key, &complete)) {
    RegHandle child = 0;
    if (Reg().OpenKeyW(key, name, win::kKeyRead, &child) == win::kSuccess) {
      KeyCloser closer{child};
      DeleteSubKeys(child);
    }
    Reg().DeleteKeyW(key, name);
  }
}

// Whether every key below `key` opens with the rights deleting it takes.
bool CanDeleteSubKeys(RegHandle key) {
  bool complete = false;
  for (const std::u16string& name : SubKeyNames(key, &complete)) {
    RegHandle child = 0;
    if (Reg().OpenKeyW(key, name, win::kDelete | win::kKeyRead, &child) != win::kSuccess) return false;
    KeyCloser closer{child};
    if (!CanDeleteSubKeys(child)) return false;
  }
  return complete;
}

}  // namespace

std::optional<RegHandle> RootKeyForCode(int code) {
  switch (code) {
    case 0: return kHkeyLocalMachine;
    case 1: return kHkeyCurrentUser;
    case 2: return kHkeyUsers;
    case 3: return kHkeyCurrentConfig;
    case 4: return kHkeyClassesRoot;
    default: return std::nullopt;
  }
}

std::string RootKeyName(RegHandle root) {
  for (const auto& [handle, name] : kRootKeys)
    if (handle == root) return name;
  return {};
}

TVeskRegistry::TVeskRegistry() noexcept : access_(win::kKeyAllAccess) { SetRootKey(kHkeyCurrentUser); }

TVeskRegistry::~TVeskRegistry() { CloseKey(); }

void TVeskRegistry::SetRootKey(RegHandle root) noexcept {
  if (root == rootHandle_) return;
  rootHandle_ = root;
  CloseKey();
}

void TVeskRegistry::CloseKey() noexcept {
  if (currentKey_ == 0) return;
  Quietly([&] { Reg().CloseKey(currentKey_); });
  currentKey_ = 0;
  currentPath_.clear();
}

bool TVeskRegistry::IsRelativePath(const std::string& path, std::string* rest) {
  if (!path.empty() && path.front() == '\\') {
    *rest = path.substr(1);
    return false;
  }
  *rest = path;
  return !path.empty();
}

RegHandle TVeskRegistry::BaseKeyFor(bool relative) const {
  return relative && currentKey_ != 0 ? currentKey_ : rootHandle_;
}

void TVeskRegistry::MakeCurrent(RegHandle key, std::string path) {
  CloseKey();
  currentKey_ = key;
  currentPath_ = std::move(path);
}

std::string TVeskRegistry::PathFromRoot(const std::string& path) const {
  std::string rest;
  bool relative = IsRelativePath(path, &rest);
  // Below the open key the new path extends the old one (the root opened by "" has none).
  return relative && currentKey_ != 0 && !currentPath_.empty() ? currentPath_ + "\\" + rest : rest;
}

bool TVeskRegistry::OpenKey(const std::string& path) noexcept {
  return Quietly(false, [&] {
    std::string rest;
    bool relative = IsRelativePath(path, &rest);
    std::string newPath = PathFromRoot(path);
    RegHandle key = 0;
    if (long rc = Reg().CreateKey(BaseKeyFor(relative), rest, access_, &key); rc != win::kSuccess || key == 0) {
      lastFailure_ = rc;
      return false;
    }
    MakeCurrent(key, std::move(newPath));
    return true;
  });
}

bool TVeskRegistry::OpenKeyReadOnly(const std::string& path) noexcept {
  return Quietly(false, [&] {
    Restore<uint32_t> readOnly(access_, win::kKeyRead);
    RegHandle key = OpenHandle(path);
    if (key == 0) return false;
    MakeCurrent(key, PathFromRoot(path));
    return true;
  });
}

RegHandle TVeskRegistry::OpenHandle(const std::string& path) {
  std::string rest;
  bool relative = IsRelativePath(path, &rest);
  RegHandle key = 0;
  if (long rc = Reg().OpenKey(BaseKeyFor(relative), rest, access_, &key); rc != win::kSuccess) lastFailure_ = rc;
  return key;
}

bool TVeskRegistry::KeyExists(const std::string& path) noexcept {
  return Quietly(false, [&] {
    Restore<uint32_t> readOnly(access_, win::kKeyQueryEnum);
    RegHandle key = OpenHandle(path);
    if (key != 0) Reg().CloseKey(key);
    return key != 0;
  });
}

bool TVeskRegistry::DeleteKey(const std::string& path) noexcept {
  return Quietly(false, [&] {
    std::string rest;
    bool relative = IsRelativePath(path, &rest);
    if (NamesNoKey(rest)) return false;
    // Listing the sub-keys is all the open is for: the rights CanDeleteKey checks suffice.
    Restore<uint32_t> listing(access_, win::kKeyRead);
    if (RegHandle key = OpenHandle(path)) {
      KeyCloser closer{key};
      DeleteSubKeys(key);
    }
    const long rc = Reg().DeleteKey(BaseKeyFor(relative), rest);
    if (rc != win::kSuccess) lastFailure_ = rc;
    return rc == win::kSuccess;
  });
}

bool TVeskRegistry::CanDeleteKey(const std::string& path) noexcept {
  return Quietly(false, [&] {
    std::string rest;
    IsRelativePath(path, &rest);
    if (NamesNoKey(rest)) return false;
    Restore<uint32_t> deleting(access_, win::kDelete | win::kKeyRead);
    RegHandle key = OpenHandle(path);
    if (key == 0) return false;
    KeyCloser closer{key};
    return CanDeleteSubKeys(key);
  });
}

bool TVeskRegistry::DeleteKeyIfEmpty(const std::string& path) noexcept {
  return Quietly(false, [&] {
    std::string rest;
    bool relative = IsRelativePath(path, &rest);
    if (NamesNoKey(rest)) return false;
    {
      Restore<uint32_t> reading(access_, win::kKeyRead);
      RegHandle key = OpenHandle(path);
      if (key == 0) return false;
      KeyCloser closer{key};
      KeyInfo info;
      if (Reg().QueryInfoKey(key, &info) != win::kSuccess || info.SubKeyCount != 0 || info.ValueCount != 0) return false;
    }
    return Reg().DeleteKey(BaseKeyFor(relative), rest) == win::kSuccess;
  });
}

bool TVeskRegistry::QueryKeyInfo(KeyInfo* info) {
  *info = KeyInfo{};
  bool ok = Reg().QueryInfoKey(currentKey_, info) == win::kSuccess;
  // The NT family counts these names in characters; a double-byte code page may need two
  // bytes for each.
  if (Os().system->FarEastLocale() && ntFamily_) {
    info->MaxSubKeyNameLength *= 2;
    info->MaxValueNameLength *= 2;
  }
  return ok;
}

bool TVeskRegistry::QueryValueInfo(const std::string& name, ValueInfo* info) {
  *info = ValueInfo{};
  uint32_t type = win::kRegNone, size = 0;
  if (Reg().QueryValue(currentKey_, name, &type, nullptr, &size) != win::kSuccess) return false;
  info->Kind = KindOfType(type);
  info->Size = static_cast<int32_t>(size);
  return true;
}

int32_t TVeskRegistry::QueryValueSize(const std::string& name) {
  ValueInfo info;
  return QueryValueInfo(name, &info) ? info.Size : -1;
}

int32_t TVeskRegistry::QueryValueData(const std::string& name, void* buffer, int32_t size, ValueKind* kind) {
  uint32_t type = win::kRegNone;
  auto length = static_cast<uint32_t>(size > 0 ? size : 0);
  Reg().QueryValue(currentKey_, name, &type, static_cast<uint8_t*>(buffer), &length);
  *kind = KindOfType(type);
  return static_cast<int32_t>(length);
}

// The value is set in place: RegSetValueExA replaces type and data in one step. Deleting the old
// value first, to make room for another type, would lose it whenever the write is then refused.
long TVeskRegistry::StoreValue(const std::string& name, const void* buffer, ValueKind kind, int32_t size) {
  const long rc = Reg().SetValue(currentKey_, name, TypeOfKind(kind), static_cast<const uint8_t*>(buffer),
                                 static_cast<uint32_t>(size));
  if (rc != win::kSuccess) lastFailure_ = rc;
  return rc;
}

bool TVeskRegistry::ValueExists(const std::string& name) noexcept {
  return Quietly(false, [&] {
    ValueInfo info;
    return QueryValueInfo(name, &info);
  });
}

int32_t TVeskRegistry::ReadInteger(const std::string& name) noexcept {
  return Quietly(int32_t{-1}, [&] {
    if (!ValueExists(name)) return int32_t{-1};
    uint8_t bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    ValueKind kind;
    // More than four bytes: the platform leaves the buffer undefined, so no integer is read.
    if (QueryValueData(name, bytes, sizeof bytes, &kind) > 4) return int32_t{-1};
    return static_cast<int32_t>(uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                                uint32_t{bytes[3]} << 24);
  });
}

std::string TVeskRegistry::ReadString(const std::string& name) noexcept {
  return Quietly(std::string(), [&] {
    std::string result;
    if (!ValueExists(name)) return result;
    int32_t size = QueryValueSize(name);
    if (size <= 0) return result;
    result.assign(static_cast<size_t>(size), '\0');
    ValueKind kind;
    int32_t got = QueryValueData(name, result.data(), size, &kind);
    // The value grew in between: what the buffer holds is undefined.
    if (got < 0 || got > size) return std::string();
    result.resize(static_cast<size_t>(got));
    if (kind == ValueKind::String || kind == ValueKind::ExpandString) result.resize(std::strlen(result.c_str()));
    return result;
  });
}

int32_t TVeskRegistry::ReadBinaryData(const std::string& name, void* buffer, int32_t bufferSize) noexcept {
  if (!buffer || bufferSize < 0) bufferSize = 0;
  if (bufferSize > 0) std::memset(buffer, 0, static_cast<size_t>(bufferSize));
  return Quietly(int32_t{0}, [&] {
    ValueInfo info;
    if (!QueryValueInfo(name, &info)) return int32_t{0};
    if ((info.Kind == ValueKind::Binary || info.Kind == ValueKind::Unknown) && info.Size <= bufferSize) {
      ValueKind kind;
      if (QueryValueData(name, buffer, bufferSize, &kind) > bufferSize && bufferSize > 0)
        std::memset(buffer, 0, static_cast<size_t>(bufferSize));
    }
    return info.Size;
  });
}

long TVeskRegistry::WriteInteger(const std::string& name, int32_t value) noexcept {
  auto bits = static_cast<uint32_t>(value);
  uint8_t bytes[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16),
                      static_cast<uint8_t>(bits >> 24)};
  return Quietly(win::kWriteFault, [&] { return StoreValue(name, bytes, ValueKind::Integer, sizeof bytes); });
}

long TVeskRegistry::WriteString(const std::string& name, const std::string& value) noexcept {
  return Quietly(win::kWriteFault, [&] {
    return StoreValue(name, value.c_str(), ValueKind::String, static_cast<int32_t>(value.size() + 1));
  });
}

long TVeskRegistry::WriteBinaryData(const std::string& name, const void* buffer, int32_t size) noexcept {
  if (size < 0 || (!buffer && size > 0)) return win::kInvalidParameter;
  return Quietly(win::kWriteFault, [&] { return StoreValue(name, buffer, ValueKind::Binary, size); });
}

bool TVeskRegistry::DeleteValue(const std::string& name) noexcept {
  return Quietly(false, [&] {
    const long rc = Reg().DeleteValue(currentKey_, name);
    if (rc != win::kSuccess) lastFailure_ = rc;
    return rc == win::kSuccess;
  });
}

}  // namespace qzr
