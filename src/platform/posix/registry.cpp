// POSIX substitute for the registry: a key tree with the five roots, answering like the Win32
// calls (status codes, sub-keys in case-insensitive order, RegDeleteKey refusing a key with
// sub-keys, rights checked against the access a handle was opened with).
#include <cstring>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#include "platform/posix/registry_tree.h"
#include "util/text.h"

namespace qzr::posix {
namespace {

constexpr uint32_t kQueryValue = 0x0001;
constexpr uint32_t kSetValue = 0x0002;
constexpr uint32_t kCreateSubKey = 0x0004;
constexpr uint32_t kEnumerateSubKeys = 0x0008;
constexpr long kKeyDeleted = 1018;

}  // namespace

Registry::Registry() : tree_(std::make_unique<RegistryTree>()) {}
Registry::~Registry() = default;

RegistryTree& Registry::Tree() { return *tree_; }

long Registry::Resolve(RegHandle handle, std::shared_ptr<RegNode>* node, uint32_t* access) {
  node->reset();
  if (std::shared_ptr<RegNode> root = tree_->Root(handle)) {
    *node = root;
    *access = win::kKeyAllAccess;
    return win::kSuccess;
  }
  auto it = handles_.find(handle);
  if (it == handles_.end()) return win::kInvalidHandle;
  if (it->second.node->deleted) return kKeyDeleted;
  *node = it->second.node;
  *access = it->second.access;
  return win::kSuccess;
}

RegHandle Registry::NewHandle(const std::shared_ptr<RegNode>& node, uint32_t access) {
  RegHandle h = nextHandle_;
  nextHandle_ += 4;
  handles_[h] = OpenHandle{node, access};
  return h;
}

long Registry::CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  *result = 0;
  std::shared_ptr<RegNode> node;
  uint32_t baseAccess = 0;
  if (long rc = Resolve(base, &node, &baseAccess)) return rc;
  if (long f = Faults::Check("RegCreateKey", subKey)) return f;
  std::shared_ptr<RegNode> current = node;
  for (const std::string& part : RegistryTree::SplitPath(subKey)) {
    if (part.empty()) return win::kInvalidParameter;
    std::shared_ptr<RegNode> child = current->Child(part);
    if (!child) {
      if (!(baseAccess & kCreateSubKey)) return win::kAccessDenied;
      child = current->AddChild(part);
      tree_->Changed();
    }
    current = child;
  }
  *result = NewHandle(current, access);
  return win::kSuccess;
}

long Registry::OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) {
  *result = 0;
  std::shared_ptr<RegNode> node;
  uint32_t baseAccess = 0;
  if (long rc = Resolve(base, &node, &baseAccess)) return rc;
  if (long f = Faults::Check("RegOpenKey", subKey)) return f;
  std::shared_ptr<RegNode> current = node;
  for (const std::string& part : RegistryTree::SplitPath(subKey)) {
    current = part.empty() ? nullptr : current->Child(part);
    if (!current) return win::kFileNotFound;
  }
  *result = NewHandle(current, access);
  return win::kSuccess;
}

long Registry::CloseKey(RegHandle key) {
  if (tree_->Root(key)) return win::kSuccess;
  return handles_.erase(key) ? win::kSuccess : win::kInvalidHandle;
}

long Registry::QueryValue(RegHandle key, const std::string& name, uint32_t* type, uint8_t* data, uint32_t* size) {
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (long rc = Resolve(key, &node, &access)) return rc;
  if (!(access & kQueryValue)) return win::kAccessDenied;
  const RegValue* value = node->FindValue(name);
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

long Registry::SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data, uint32_t size) {
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (long rc = Resolve(key, &node, &access)) return rc;
  if (!(access & kSetValue)) return win::kAccessDenied;
  if (long f = Faults::Check("RegSetValue", name)) return f;
  std::string bytes(reinterpret_cast<const char*>(data), data ? size : 0);
  // Windows stores string types with their terminating zero even when the caller left it out.
  if ((type == win::kRegSz || type == win::kRegExpandSz) && (bytes.empty() || bytes.back() != '\0'))
    bytes.push_back('\0');
  node->SetValue(name, type, std::move(bytes));
  tree_->Changed();
  return win::kSuccess;
}

long Registry::DeleteValue(RegHandle key, const std::string& name) {
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (long rc = Resolve(key, &node, &access)) return rc;
  if (!(access & kSetValue)) return win::kAccessDenied;
  if (!node->RemoveValue(name)) return win::kFileNotFound;
  tree_->Changed();
  return win::kSuccess;
}

long Registry::DeleteKey(RegHandle base, const std::string& subKey) {
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (long rc = Resolve(base, &node, &access)) return rc;
  std::vector<std::string> parts = RegistryTree::SplitPath(subKey);
  if (parts.empty()) return win::kAccessDenied;
  std::shared_ptr<RegNode> parent = node;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    parent = parent->Child(parts[i]);
    if (!parent) return win::kFileNotFound;
  }
  std::shared_ptr<RegNode> victim = parent->Child(parts.back());
  if (!victim) return win::kFileNotFound;
  if (!victim->children.empty()) return win::kAccessDenied;
  if (long f = Faults::Check("RegDeleteKey", subKey)) return f;
  parent->RemoveChild(parts.back());
  tree_->Changed();
  return win::kSuccess;
}

long Registry::EnumKey(RegHandle key, uint32_t index, char* name, uint32_t* length) {
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (long rc = Resolve(key, &node, &access)) return rc;
  if (!(access & kEnumerateSubKeys)) return win::kAccessDenied;
  if (index >= node->children.size()) return win::kNoMoreItems;
  auto it = node->children.begin();
  std::advance(it, index);
  const std::string& child = it->second->name;
  if (child.size() + 1 > *length) return win::kMoreData;
  std::memcpy(name, child.c_str(), child.size() + 1);
  *length = static_cast<uint32_t>(child.size());
  return win::kSuccess;
}

long Registry::QueryInfoKey(RegHandle key, RegKeyInfo* info) {
  *info = RegKeyInfo{};
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (long rc = Resolve(key, &node, &access)) return rc;
  if (!(access & kQueryValue)) return win::kAccessDenied;
  info->SubKeyCount = static_cast<uint32_t>(node->children.size());
  info->ValueCount = static_cast<uint32_t>(node->values.size());
  for (const auto& [folded, child] : node->children)
    info->MaxSubKeyNameLength = std::max<uint32_t>(info->MaxSubKeyNameLength, static_cast<uint32_t>(child->name.size()));
  for (const RegValue& v : node->values) {
    info->MaxValueNameLength = std::max<uint32_t>(info->MaxValueNameLength, static_cast<uint32_t>(v.name.size()));
    info->MaxDataLength = std::max<uint32_t>(info->MaxDataLength, static_cast<uint32_t>(v.data.size()));
  }
  return win::kSuccess;
}

}  // namespace qzr::posix
