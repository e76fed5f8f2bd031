// The OS-family probe.
#include "core/os_probe.h"

#include <string>

#include "platform/platform.h"

namespace qzr {
namespace {

constexpr const char* kEnvironmentKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// The "OS" value as a string, or nothing when there is no such value (or no key).
std::optional<std::string> ReadOsValue() {
  RegistryApi& reg = *Os().registry;
  RegHandle key = 0;
  reg.CreateKey(kHkeyLocalMachine, kEnvironmentKey, win::kKeyAllAccess, &key);
  std::optional<std::string> result;
  uint32_t type = 0, size = 0;
  if (key != 0 && reg.QueryValue(key, "OS", &type, nullptr, &size) == win::kSuccess) {
    std::string data(size, '\0');
    if (size > 0 && reg.QueryValue(key, "OS", &type, reinterpret_cast<uint8_t*>(data.data()), &size) == win::kSuccess)
      data.resize(size);
    else
      data.clear();
    if (type == win::kRegSz || type == win::kRegExpandSz) data = data.substr(0, data.find('\0'));
    result = std::move(data);
  }
  if (key != 0) reg.CloseKey(key);
  return result;
}

}  // namespace

bool CodeSegmentIs9x() { return (Os().system->CodeSegmentSelector() >> 8) != 0; }

bool IsWin9x() {
  std::optional<std::string> os = ReadOsValue();
  return os ? *os != "Windows_NT" : CodeSegmentIs9x();
}

}  // namespace qzr
