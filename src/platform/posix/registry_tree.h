// The substitute registry's data: keys with case-insensitive names, typed values in the order
// they were first written, and the five predefined roots.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace qzr::posix {

struct RegValue {
  std::string name;
  uint32_t type = 0;
  std::string data;
};

struct RegNode {
  std::string name;
  // Keyed by the upper-cased name, so enumeration runs in case-insensitive order as on Windows.
  std::map<std::string, std::shared_ptr<RegNode>> children;
  std::vector<RegValue> values;
  bool deleted = false;

  std::shared_ptr<RegNode> Child(const std::string& name) const;
  std::shared_ptr<RegNode> AddChild(const std::string& name);
  void RemoveChild(const std::string& name);
  const RegValue* FindValue(const std::string& name) const;
  void SetValue(const std::string& name, uint32_t type, std::string data);
  bool RemoveValue(const std::string& name);
};

class RegistryTree {
 public:
  RegistryTree();
  // The node of a predefined root handle, or null.
  std::shared_ptr<RegNode> Root(RegHandle handle) const;
  // Called after every change; the place where the tree is kept on disk hooks in here.
  void Changed() {}
  // "A\B\\C" -> A, B, "", C; leading and trailing backslashes are ignored, as Windows does.
  static std::vector<std::string> SplitPath(const std::string& path);

 private:
  std::map<RegHandle, std::shared_ptr<RegNode>> roots_;
};

}  // namespace qzr::posix
