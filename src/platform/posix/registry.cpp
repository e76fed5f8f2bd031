// POSIX substitute for the registry: a key tree with the five roots, answering like the Win32
// calls under Wine (status codes, sub-keys in case-insensitive order, RegDeleteKey refusing a
// key with sub-keys, rights checked against the access a handle was opened with), kept in a
// text file between loads of the module. Every call can be made to fail through Faults, named
// "RegCreateKey", "RegOpenKey", ... with the key's path from its root (and "\" and the value
// name for value calls) as the path to match.
#include <cstring>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#include "platform/posix/registry_file.h"
#include "platform/posix/registry_tree.h"
#include "platform/posix/zero_terminated.h"
#include "util/text.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"

namespace qzr::posix {
namespace {

constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxPathArgument = 260;

// What a call refuses of a path before it looks anything up: a key name longer than 255
// characters; from the 8-bit calls also a path longer than MAX_PATH characters (it is turned into
// a buffer of MAX_PATH + 1 wide characters) with "more data". The wide calls take a longer path.
// Nothing of such a path is made.
long PathRefusal(const std::string& subKey, const std::vector<std::string>& parts, CallWidth width) {
  if (width == CallWidth::k8Bit && LongerInUtf16Than(subKey, kMaxPathArgument)) return win::kMoreData;
  for (const std::string& part : parts)
    if (LongerInUtf16Than(part, kMaxKeyNameLength)) return win::kInvalidParameter;
  return win::kSuccess;
}
constexpr uint32_t kQueryValue = 0x0001;
constexpr uint32_t kSetValue = 0x0002;
constexpr uint32_t kCreateSubKey = 0x0004;
constexpr uint32_t kEnumerateSubKeys = 0x0008;
constexpr long kKeyDeleted = 1018;

bool IsStringType(uint32_t type) { return type == win::kRegSz || type == win::kRegExpandSz || type == win::kRegMultiSz; }

// The path of a key opened or created below `base`: the names found are as long as the names
// given, so it is sized once and grown name by name.
std::string PathBelow(std::string_view base, const std::string& subKey) {
  std::string path;
  path.reserve(base.size() + 1 + subKey.size());
  return path.append(base);
}

std::string Join(std::string_view path, const std::string& name) {
  std::string joined;
  joined.reserve(path.size() + 1 + name.size());
  return joined.append(path).append("\\").append(name);
}

}  // namespace

Registry::Registry() = default;
Registry::~Registry() = default;

RegistryTree& Registry::Tree() {
  std::lock_guard lock(mutex_);
  if (!tree_) {
    tree_ = std::make_unique<RegistryTree>();
    file_ = RegistryFileLocation();
    RegistryLoad loaded = file_.empty() ? RegistryLoad::kMissing : LoadRegistryFile(file_, tree_.get());
    if (loaded != RegistryLoad::kLoaded) tree_->AddSystemDefaults();
    // A file that exists but cannot be read is never overwritten.
    saveToFile_ = !file_.empty() && loaded != RegistryLoad::kUnreadable;
  }
  return *tree_;
}

void Registry::Reload() {
  std::lock_guard lock(mutex_);
  tree_.reset();
  handles_.clear();
  std::string().swap(file_);
}

void Registry::Changed() {
  // A failed save keeps the change in memory; the next change writes the whole tree again.
  if (saveToFile_) SaveRegistryFile(file_, *tree_);
}

long Registry::Resolve(RegHandle handle, Resolved* key) {
  *key = Resolved{};
  if (std::shared_ptr<RegNode> root = Tree().Root(handle)) {
    // Every registry call resolves its key: the name comes from the table, not from a list
    // of the roots made for each call.
    for (const auto& [rootHandle, name] : kRootKeys)
      if (rootHandle == handle) *key = Resolved{root, win::kKeyAllAccess, name};
    return win::kSuccess;
  }
  auto it = handles_.find(handle);
  if (it == handles_.end()) return win::kInvalidHandle;
  if (it->second.node->deleted) return kKeyDeleted;
  *key = Resolved{it->second.node, it->second.access, it->second.path};
  return win::kSuccess;
}

RegHandle Registry::NewHandle(const std::shared_ptr<RegNode>& node, uint32_t access, std::string path) {
  RegHandle h = nextHandle_;
  nextHandle_ += 4;
  handles_[h] = OpenHandle{node, access, std::move(path)};
  return h;
}

long Registry::CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  return CreateKeyAs(CallWidth::k8Bit, base, subKey, access, result);
}

long Registry::CreateKeyAs(CallWidth width, RegHandle base, const std::string& subKeyGiven, uint32_t access,
                           RegHandle* result) {
  std::lock_guard lock(mutex_);
  const std::string subKey = ZeroTerminated(subKeyGiven);
  *result = 0;
  Resolved key;
  if (long rc = Resolve(base, &key)) return rc;
  if (long f = Faults::Check("RegCreateKey", [&] { return Join(key.path, subKey); })) return f;
  std::optional<std::vector<std::string>> parts = RegistryTree::SplitPath(subKey);
  if (!parts) return win::kBadPathName;
  if (long rc = PathRefusal(subKey, *parts, width)) return rc;
  std::shared_ptr<RegNode> current = key.node;
  std::string path = PathBelow(key.path, subKey);
  bool changed = false;
  for (const std::string& part : *parts) {
    std::shared_ptr<RegNode> child = current->Child(part);
    if (!child) {
      if (!(key.access & kCreateSubKey)) return win::kAccessDenied;
      child = current->AddChild(part);
      changed = true;
    }
    current = child;
    path.append("\\").append(child->name);
  }
  if (changed) Changed();
  *result = NewHandle(current, access, path);
  return win::kSuccess;
}

long Registry::OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  return OpenKeyAs(CallWidth::k8Bit, base, subKey, access, result);
}

long Registry::OpenKeyAs(CallWidth width, RegHandle base, const std::string& subKeyGiven, uint32_t access,
                         RegHandle* result) {
  std::lock_guard lock(mutex_);
  const std::string subKey = ZeroTerminated(subKeyGiven);
  *result = 0;
  Resolved key;
  if (long rc = Resolve(base, &key)) return rc;
  if (long f = Faults::Check("RegOpenKey", [&] { return Join(key.path, subKey); })) return f;
  std::optional<std::vector<std::string>> parts = RegistryTree::SplitPath(subKey);
  if (!parts) return win::kBadPathName;
  if (long rc = PathRefusal(subKey, *parts, width)) return rc;
  std::shared_ptr<RegNode> current = key.node;
  std::string path = PathBelow(key.path, subKey);
  for (const std::string& part : *parts) {
    current = current->Child(part);
    if (!current) return win::kFileNotFound;
    path.append("\\").append(current->name);
  }
  *result = NewHandle(current, access, path);
  return win::kSuccess;
}

long Registry::CloseKey(RegHandle key) {
  std::lock_guard lock(mutex_);
  if (Tree().Root(key)) return win::kSuccess;
  auto it = handles_.find(key);
  if (it == handles_.end()) return win::kInvalidHandle;
  if (long f = Faults::Check("RegCloseKey", it->second.path)) return f;
  handles_.erase(it);
  return win::kSuccess;
}

long Registry::QueryValue(RegHandle key, const std::string& nameGiven, uint32_t* type, uint8_t* data, uint32_t* size) {
  std::lock_guard lock(mutex_);
  const std::string name = ZeroTerminated(nameGiven);
  Resolved k;
  if (long rc = Resolve(key, &k)) return rc;
  if (!(k.access & kQueryValue)) return win::kAccessDenied;
  if (long f = Faults::Check("RegQueryValue", [&] { return Join(k.path, name); })) return f;
  const RegValue* value = k.node->FindValue(name);
  if (!value) return win::kFileNotFound;
  if (type) *type = value->type;
  auto needed = static_cast<uint32_t>(value->data.size());
  if (!data) {
    if (size) *size = needed;
    return win::kSuccess;
  }
  if (!size) return win::kInvalidParameter;
  if (*size < needed) {
    *size = needed;
    return win::kMoreData;
  }
  std::memcpy(data, value->data.data(), needed);
  *size = needed;
  return win::kSuccess;
}

long Registry::SetValue(RegHandle key, const std::string& nameGiven, uint32_t type, const uint8_t* data, uint32_t size) {
  std::lock_guard lock(mutex_);
  const std::string name = ZeroTerminated(nameGiven);
  Resolved k;
  if (long rc = Resolve(key, &k)) return rc;
  if (!(k.access & kSetValue)) return win::kAccessDenied;
  if (long f = Faults::Check("RegSetValue", [&] { return Join(k.path, name); })) return f;
  std::string bytes(reinterpret_cast<const char*>(data), data ? size : 0);
  // Windows keeps string types with their terminating zero even when the caller left it out,
  // but an empty string stays empty.
  if (IsStringType(type) && !bytes.empty() && bytes.back() != '\0') bytes.push_back('\0');
  k.node->SetValue(name, type, std::move(bytes));
  Changed();
  return win::kSuccess;
}

long Registry::DeleteValue(RegHandle key, const std::string& nameGiven) {
  std::lock_guard lock(mutex_);
  const std::string name = ZeroTerminated(nameGiven);
  Resolved k;
  if (long rc = Resolve(key, &k)) return rc;
  if (!(k.access & kSetValue)) return win::kAccessDenied;
  if (long f = Faults::Check("RegDeleteValue", [&] { return Join(k.path, name); })) return f;
  if (!k.node->RemoveValue(name)) return win::kFileNotFound;
  Changed();
  return win::kSuccess;
}

long Registry::DeleteKey(RegHandle base, const std::string& subKey) { return DeleteKeyAs(CallWidth::k8Bit, base, subKey); }

long Registry::DeleteKeyAs(CallWidth width, RegHandle base, const std::string& subKeyGiven) {
  std::lock_guard lock(mutex_);
  const std::string subKey = ZeroTerminated(subKeyGiven);
  Resolved key;
  if (long rc = Resolve(base, &key)) return rc;
  if (long f = Faults::Check("RegDeleteKey", [&] { return Join(key.path, subKey); })) return f;
  std::optional<std::vector<std::string>> parts = RegistryTree::SplitPath(subKey);
  if (!parts) return win::kBadPathName;
  if (long rc = PathRefusal(subKey, *parts, width)) return rc;
  // An empty path names the key of the handle itself; the roots are never deleted.
  std::shared_ptr<RegNode> victim = key.node;
  for (const std::string& part : *parts) {
    victim = victim->Child(part);
    if (!victim) return win::kFileNotFound;
  }
  std::shared_ptr<RegNode> parent = victim->parent.lock();
  if (!parent || !victim->children.empty()) return win::kAccessDenied;
  parent->RemoveChild(victim->name);
  Changed();
  return win::kSuccess;
}

long Registry::EnumKey(RegHandle key, uint32_t index, char* name, uint32_t* length) {
  std::lock_guard lock(mutex_);
  Resolved k;
  if (long rc = Resolve(key, &k)) return rc;
  if (!(k.access & kEnumerateSubKeys)) return win::kAccessDenied;
  if (long f = Faults::Check("RegEnumKey", [&] { return std::string(k.path); })) return f;
  if (index >= k.node->children.size()) return win::kNoMoreItems;
  auto it = k.node->children.begin();
  std::advance(it, index);
  const std::string& child = it->second->name;
  if (child.size() + 1 > *length) return win::kMoreData;
  std::memcpy(name, child.c_str(), child.size() + 1);
  *length = static_cast<uint32_t>(child.size());
  return win::kSuccess;
}

long Registry::QueryInfoKey(RegHandle key, RegKeyInfo* info) {
  std::lock_guard lock(mutex_);
  *info = RegKeyInfo{};
  Resolved k;
  if (long rc = Resolve(key, &k)) return rc;
  if (!(k.access & kQueryValue)) return win::kAccessDenied;
  if (long f = Faults::Check("RegQueryInfoKey", [&] { return std::string(k.path); })) return f;
  const RegNode& node = *k.node;
  info->SubKeyCount = static_cast<uint32_t>(node.children.size());
  info->ValueCount = static_cast<uint32_t>(node.values.size());
  for (const auto& [folded, child] : node.children)
    info->MaxSubKeyNameLength = std::max<uint32_t>(info->MaxSubKeyNameLength, static_cast<uint32_t>(child->name.size()));
  for (const RegValue& v : node.values) {
    info->MaxValueNameLength = std::max<uint32_t>(info->MaxValueNameLength, static_cast<uint32_t>(v.name.size()));
    // The registry keeps strings as UTF-16 and reports their size in that form.
    size_t size = IsStringType(v.type) ? v.data.size() * 2 : v.data.size();
    info->MaxDataLength = std::max<uint32_t>(info->MaxDataLength, static_cast<uint32_t>(size));
  }
  info->LastWriteTime = node.lastWriteTime;
  return win::kSuccess;
}

long Registry::EnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type,
                         uint8_t* data, uint32_t* size) {
  std::lock_guard lock(mutex_);
  Resolved k;
  if (long rc = Resolve(key, &k)) return rc;
  if (!(k.access & kQueryValue)) return win::kAccessDenied;
  if (long f = Faults::Check("RegEnumValue", [&] { return std::string(k.path); })) return f;
  if (index >= k.node->values.size()) return win::kNoMoreItems;
  const RegValue& value = k.node->values[index];
  if (value.name.size() + 1 > *nameLength) return win::kMoreData;
  std::memcpy(name, value.name.c_str(), value.name.size() + 1);
  *nameLength = static_cast<uint32_t>(value.name.size());
  *type = value.type;
  const auto needed = static_cast<uint32_t>(value.data.size());
  if (!data) {
    *size = needed;
    return win::kSuccess;
  }
  if (needed > *size) {
    *size = needed;
    return win::kMoreData;
  }
  std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return win::kSuccess;
}

}  // namespace qzr::posix

// The wide calls. The substitute's ANSI code page is UTF-8, so they are the 8-bit calls (with
// their rights, faults and refusals) with names and string data converted without loss, as
// Windows converts between what it keeps and what A callers see. An odd last byte of string data
// given to SetValueW has no UTF-16 unit and is left out.
namespace qzr::posix {
namespace {

std::string WideData(uint32_t type, std::string data) {
  return IsStringType(type) ? Utf16LeBytes(Utf8ToUtf16(data)) : data;
}

}  // namespace

long Registry::OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) {
  return OpenKeyAs(CallWidth::kWide, base, Utf16ToUtf8(subKey), access, result);
}

long Registry::CreateKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) {
  return CreateKeyAs(CallWidth::kWide, base, Utf16ToUtf8(subKey), access, result);
}

long Registry::EnumKeyW(RegHandle key, uint32_t index, std::u16string* name) {
  // 255 characters of up to three bytes each, and a terminating zero.
  char buffer[3 * 255 + 1];
  uint32_t length = sizeof buffer;
  const long rc = EnumKey(key, index, buffer, &length);
  *name = rc == win::kSuccess ? Utf8ToUtf16(std::string_view(buffer, length)) : std::u16string();
  return rc;
}

long Registry::EnumValueW(RegHandle key, uint32_t index, std::u16string* name, uint32_t* type, std::string* data) {
  std::lock_guard lock(mutex_);
  std::string nameBuffer(256, '\0');
  uint32_t nameLength = 0, size = 0;
  long rc = win::kMoreData;
  // Value names reach 16 383 characters of up to three bytes each.
  while (rc == win::kMoreData && nameBuffer.size() <= 3 * 16384) {
    nameLength = static_cast<uint32_t>(nameBuffer.size());
    rc = EnumValue(key, index, nameBuffer.data(), &nameLength, type, nullptr, &size);
    if (rc == win::kMoreData) nameBuffer.resize(nameBuffer.size() * 4);
  }
  std::string bytes(size, '\0');
  if (rc == win::kSuccess) {
    nameLength = static_cast<uint32_t>(nameBuffer.size());
    rc = EnumValue(key, index, nameBuffer.data(), &nameLength, type, reinterpret_cast<uint8_t*>(bytes.data()), &size);
  }
  if (rc != win::kSuccess) return rc;
  *name = Utf8ToUtf16(std::string_view(nameBuffer.data(), nameLength));
  bytes.resize(size);
  *data = WideData(*type, std::move(bytes));
  return rc;
}

long Registry::QueryValueW(RegHandle key, const std::u16string& nameGiven, uint32_t* type, std::string* data) {
  std::lock_guard lock(mutex_);
  const std::string name = Utf16ToUtf8(nameGiven);
  uint32_t size = 0;
  long rc = QueryValue(key, name, type, nullptr, &size);
  std::string bytes(size, '\0');
  if (rc == win::kSuccess) rc = QueryValue(key, name, type, reinterpret_cast<uint8_t*>(bytes.data()), &size);
  if (rc == win::kSuccess) *data = WideData(*type, bytes.substr(0, size));
  return rc;
}

long Registry::SetValueW(RegHandle key, const std::u16string& name, uint32_t type, const std::string& data) {
  const std::string bytes = IsStringType(type) ? Utf16ToUtf8(Utf16FromLeBytes(data)) : data;
  return SetValue(key, Utf16ToUtf8(name), type, reinterpret_cast<const uint8_t*>(bytes.data()),
                  static_cast<uint32_t>(bytes.size()));
}

long Registry::DeleteKeyW(RegHandle base, const std::u16string& subKey) {
  return DeleteKeyAs(CallWidth::kWide, base, Utf16ToUtf8(subKey));
}

}  // namespace qzr::posix
