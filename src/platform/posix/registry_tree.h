// The substitute registry's data: keys with case-insensitive names, typed values in the order
// they were first written, and the five predefined roots.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace qzr::posix {

struct RegValue {
  std::string name;
  uint32_t type = 0;
  std::string data;
};

// Always made with make_shared: a child keeps a weak link to its parent.
struct RegNode : std::enable_shared_from_this<RegNode> {
  std::string name;
  std::weak_ptr<RegNode> parent;  // empty for a root
  // Keyed by the upper-cased name, so enumeration runs in case-insensitive order as on Windows.
  std::map<std::string, std::shared_ptr<RegNode>> children;
  std::vector<RegValue> values;
  bool deleted = false;
  uint64_t lastWriteTime = 0;  // FILETIME: 100 ns steps since 1601

  std::shared_ptr<RegNode> Child(const std::string& name) const;
  std::shared_ptr<RegNode> AddChild(const std::string& name);
  void RemoveChild(const std::string& name);
  const RegValue* FindValue(const std::string& name) const;
  void SetValue(const std::string& name, uint32_t type, std::string data);
  bool RemoveValue(const std::string& name);
  void Touch();
};

class RegistryTree {
 public:
  // The five roots, empty.
  RegistryTree();
  // What every NT-family Windows holds and the OS-family probe reads: a fresh registry has it.
  void AddSystemDefaults();
  // The node of a predefined root handle, or null.
  std::shared_ptr<RegNode> Root(RegHandle handle) const;
  // The roots with their Windows names, in a fixed order.
  std::vector<std::pair<std::string, std::shared_ptr<RegNode>>> NamedRoots() const;
  // "A\B\\C\" -> A, B, C: doubled and trailing backslashes count as one, as Windows takes them;
  // a leading backslash makes the path invalid (nothing).
  static std::optional<std::vector<std::string>> SplitPath(const std::string& path);

 private:
  std::map<RegHandle, std::shared_ptr<RegNode>> roots_;
};

// The current time as a registry last-write time.
uint64_t FileTimeNow();

}  // namespace qzr::posix
