// One value below HKEY_CURRENT_USER as it was, put back (or deleted again) when the scope ends:
// for tests that must write where Windows keeps a setting, which under Wine is the real registry.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace qzr::test {

class KeptRegistryValue {
 public:
  KeptRegistryValue(std::string key, std::string name) : key_(std::move(key)), name_(std::move(name)) {
    RegHandle h = 0;
    if (Os().registry->OpenKey(kHkeyCurrentUser, key_, win::kKeyRead, &h) != win::kSuccess) return;
    uint32_t size = sizeof data_;
    had_ = Os().registry->QueryValue(h, name_, &type_, data_, &size) == win::kSuccess;
    size_ = size;
    Os().registry->CloseKey(h);
  }
  ~KeptRegistryValue() {
    RegHandle h = 0;
    if (Os().registry->CreateKey(kHkeyCurrentUser, key_, win::kKeyAllAccess, &h) != win::kSuccess) return;
    if (had_)
      Os().registry->SetValue(h, name_, type_, data_, size_);
    else
      Os().registry->DeleteValue(h, name_);
    Os().registry->CloseKey(h);
  }
  KeptRegistryValue(const KeptRegistryValue&) = delete;
  KeptRegistryValue& operator=(const KeptRegistryValue&) = delete;

 private:
  std::string key_, name_;
  bool had_ = false;
  uint32_t type_ = 0, size_ = 0;
  uint8_t data_[512] = {};
};

}  // namespace qzr::test
