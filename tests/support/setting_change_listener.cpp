// The listener for setting changes, per backend.
#include "support/setting_change_listener.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/posix/backends.h"
#endif

namespace qzr::test {

#ifdef _WIN32
namespace {

constexpr wchar_t kClass[] = L"QZR_SettingChangeListener";

std::vector<std::string>& Heard() {
  static std::vector<std::string> heard;
  return heard;
}

LRESULT CALLBACK ListenerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE) {
    std::string text;
    // The area text is ASCII ("Policy", "ImmersiveColorSet").
    for (const wchar_t* c = reinterpret_cast<const wchar_t*>(lParam); c && *c; ++c) text += static_cast<char>(*c);
    Heard().push_back(text);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

SettingChangeListener::SettingChangeListener() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ListenerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  Heard().clear();
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
}

SettingChangeListener::~SettingChangeListener() {
  if (window_) DestroyWindow(static_cast<HWND>(window_));
  UnregisterClassW(kClass, GetModuleHandleW(nullptr));
}

bool SettingChangeListener::Listening() const { return window_ != nullptr; }

std::vector<std::string> SettingChangeListener::Received() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  std::vector<std::string> heard;
  heard.swap(Heard());
  return heard;
}

uint32_t SystemParameterNow(uint32_t getAction) {
  UINT value = 0;
  SystemParametersInfoW(getAction, 0, &value, 0);
  return value;
}

#else

SettingChangeListener::SettingChangeListener() { posix::Ui::TakeSettingNotices(); }

SettingChangeListener::~SettingChangeListener() = default;

bool SettingChangeListener::Listening() const { return true; }

std::vector<std::string> SettingChangeListener::Received() {
  const std::string broadcast = "WM_SETTINGCHANGE";
  std::vector<std::string> heard;
  for (const std::string& line : posix::Ui::TakeSettingNotices())
    if (line.rfind(broadcast, 0) == 0) heard.push_back(line.size() > broadcast.size() ? line.substr(broadcast.size() + 1) : "");
  return heard;
}

uint32_t SystemParameterNow(uint32_t getAction) {
  const std::vector<int32_t> set = posix::Ui::SystemParameter(getAction + 1);
  return set.empty() ? 0 : static_cast<uint32_t>(set.front());
}

#endif

}  // namespace qzr::test
