// The OS-family probe.
#include "plugin/os_probe.h"

#include <optional>
#include <string>

#include "platform/platform.h"
#include "stores/vesk_registry.h"

namespace qzr {
namespace {

constexpr const char* kEnvironmentKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// The "OS" value of the system environment as a string; nothing when there is no such value
// (or the key could not be opened, so that no key is open). Read rights do: the key is the
// system's, which a user without administrator rights may read but not change.
std::optional<std::string> ReadOsValue() {
  TVeskRegistry registry;
  registry.SetRootKey(kHkeyLocalMachine);
  registry.OpenKeyReadOnly(kEnvironmentKey);
  std::optional<std::string> os;
  if (registry.ValueExists("OS")) os = registry.ReadString("OS");
  registry.CloseKey();
  return os;
}

}  // namespace

bool CodeSegmentIs9x() { return (Os().system->CodeSegmentSelector() >> 8) != 0; }

bool IsWin9x() {
  std::optional<std::string> os = ReadOsValue();
  return os ? *os != "Windows_NT" : CodeSegmentIs9x();
}

}  // namespace qzr
