// What reaches a program's window when the system is told of a changed setting: on Windows a
// hidden top-level window of the test (broadcasts go to top-level windows only) records each
// WM_SETTINGCHANGE's text; elsewhere the substitute's record stands in. Also the value of a
// SystemParametersInfo setting as the system holds it now.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qzr::test {

class SettingChangeListener {
 public:
  SettingChangeListener();
  ~SettingChangeListener();
  SettingChangeListener(const SettingChangeListener&) = delete;
  SettingChangeListener& operator=(const SettingChangeListener&) = delete;

  // Whether the window could be made (no X server under Wine: no top-level window).
  bool Listening() const;
  // The texts of the WM_SETTINGCHANGE messages received since the last call, oldest first ("" for
  // a broadcast without text). Call it on the thread that made the listener.
  std::vector<std::string> Received();

 private:
  void* window_ = nullptr;
};

// SystemParametersInfoW(getAction) of a setting held as one number (the substitute: what its
// SET action, getAction + 1, was last given).
uint32_t SystemParameterNow(uint32_t getAction);

}  // namespace qzr::test
