// The substitute registry's key tree.
#include "platform/posix/registry_tree.h"

#include <algorithm>

#include "util/text.h"

namespace qzr::posix {

std::shared_ptr<RegNode> RegNode::Child(const std::string& childName) const {
  auto it = children.find(UpperAscii(childName));
  return it == children.end() ? nullptr : it->second;
}

std::shared_ptr<RegNode> RegNode::AddChild(const std::string& childName) {
  auto node = std::make_shared<RegNode>();
  node->name = childName;
  children[UpperAscii(childName)] = node;
  return node;
}

static void MarkDeleted(RegNode& node) {
  node.deleted = true;
  for (auto& [folded, child] : node.children) MarkDeleted(*child);
}

void RegNode::RemoveChild(const std::string& childName) {
  auto it = children.find(UpperAscii(childName));
  if (it == children.end()) return;
  MarkDeleted(*it->second);
  children.erase(it);
}

const RegValue* RegNode::FindValue(const std::string& valueName) const {
  for (const RegValue& v : values)
    if (EqualsNoCaseAscii(v.name, valueName)) return &v;
  return nullptr;
}

void RegNode::SetValue(const std::string& valueName, uint32_t type, std::string data) {
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
  return true;
}

RegistryTree::RegistryTree() {
  for (RegHandle h : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig})
    roots_[h] = std::make_shared<RegNode>();
  // What every NT-family Windows holds: the probe of the OS family reads it.
  std::shared_ptr<RegNode> node = roots_[kHkeyLocalMachine];
  for (const char* part : {"SYSTEM", "CurrentControlSet", "Control", "Session Manager", "Environment"})
    node = node->Child(part) ? node->Child(part) : node->AddChild(part);
  node->SetValue("OS", 1, std::string("Windows_NT", 11));
}

std::shared_ptr<RegNode> RegistryTree::Root(RegHandle handle) const {
  auto it = roots_.find(handle);
  return it == roots_.end() ? nullptr : it->second;
}

std::vector<std::string> RegistryTree::SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t b = 0, e = path.size();
  while (b < e && path[b] == '\\') ++b;
  while (e > b && path[e - 1] == '\\') --e;
  if (b == e) return parts;
  size_t start = b;
  for (size_t i = b; i <= e; ++i) {
    if (i == e || path[i] == '\\') {
      parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

}  // namespace qzr::posix
