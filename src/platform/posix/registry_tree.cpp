// The substitute registry's key tree.
#include "platform/posix/registry_tree.h"

#include <algorithm>
#include <ctime>

#include "util/text.h"

namespace qzr::posix {
namespace {

void MarkDeleted(RegNode& node) {
  node.deleted = true;
  for (auto& [folded, child] : node.children) MarkDeleted(*child);
}

}  // namespace

uint64_t FileTimeNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  constexpr uint64_t kUnixEpochIn1601 = 11644473600ULL;
  return (static_cast<uint64_t>(ts.tv_sec) + kUnixEpochIn1601) * 10000000ULL + static_cast<uint64_t>(ts.tv_nsec) / 100;
}

void RegNode::Touch() { lastWriteTime = FileTimeNow(); }

std::shared_ptr<RegNode> RegNode::Child(const std::string& childName) const {
  auto it = children.find(UpperAscii(childName));
  return it == children.end() ? nullptr : it->second;
}

std::shared_ptr<RegNode> RegNode::AddChild(const std::string& childName) {
  auto node = std::make_shared<RegNode>();
  node->name = childName;
  node->parent = weak_from_this();
  node->Touch();
  children[UpperAscii(childName)] = node;
  Touch();
  return node;
}

void RegNode::RemoveChild(const std::string& childName) {
  auto it = children.find(UpperAscii(childName));
  if (it == children.end()) return;
  MarkDeleted(*it->second);
  children.erase(it);
  Touch();
}

const RegValue* RegNode::FindValue(const std::string& valueName) const {
  for (const RegValue& v : values)
    if (EqualsNoCaseAscii(v.name, valueName)) return &v;
  return nullptr;
}

void RegNode::SetValue(const std::string& valueName, uint32_t type, std::string data) {
  Touch();
  for (RegValue& v : values) {
    if (EqualsNoCaseAscii(v.name, valueName)) {
      v.type = type;
      v.data = std::move(data);
      return;
    }
  }
  values.push_back(RegValue{valueName, type, std::move(data)});
}

bool RegNode::RemoveValue(const std::string& valueName) {
  auto it = std::find_if(values.begin(), values.end(),
                         [&](const RegValue& v) { return EqualsNoCaseAscii(v.name, valueName); });
  if (it == values.end()) return false;
  values.erase(it);
  Touch();
  return true;
}

RegistryTree::RegistryTree() {
  for (const auto& [handle, name] : kRootKeys) {
    roots_[handle] = std::make_shared<RegNode>();
    roots_[handle]->Touch();
  }
}

void RegistryTree::AddSystemDefaults() {
  std::shared_ptr<RegNode> node = roots_[kHkeyLocalMachine];
  for (const char* part : {"SYSTEM", "CurrentControlSet", "Control", "Session Manager", "Environment"}) {
    std::shared_ptr<RegNode> child = node->Child(part);
    node = child ? child : node->AddChild(part);
  }
  node->SetValue("OS", 1, std::string("Windows_NT", 11));
}

std::shared_ptr<RegNode> RegistryTree::Root(RegHandle handle) const {
  auto it = roots_.find(handle);
  return it == roots_.end() ? nullptr : it->second;
}

std::vector<std::pair<std::string, std::shared_ptr<RegNode>>> RegistryTree::NamedRoots() const {
  std::vector<std::pair<std::string, std::shared_ptr<RegNode>>> named;
  for (const auto& [handle, name] : kRootKeys) named.emplace_back(name, roots_.at(handle));
  return named;
}

std::optional<std::vector<std::string>> RegistryTree::SplitPath(const std::string& path) {
  if (!path.empty() && path.front() == '\\') return std::nullopt;
  return KeyPathParts(path);
}

}  // namespace qzr::posix
