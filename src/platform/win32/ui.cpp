// Win32 UI backend: MessageBoxW (also for yes/no questions) and ShellExecuteW, so any text shows
// right on any code page;
// the host window's class and a message posted to it.
#include "platform/win32/backends.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/wide.h"

namespace qzr::win32 {

void Ui::ShowMessage(const std::string& text, const std::string& caption) {
  MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), MB_OK | MB_TASKMODAL);
}

void Ui::ShellOpen(const std::string& target, void* parent) {
  ShellExecuteW(static_cast<HWND>(parent), L"open", Utf8ToWide(target).c_str(), L"", L"", SW_HIDE);
}

std::string Ui::WindowClassName(void* window) {
  HWND hwnd = static_cast<HWND>(window);
  if (!hwnd || !IsWindow(hwnd)) return {};
  char name[256];
  int n = GetClassNameA(hwnd, name, sizeof name);
  return n > 0 ? std::string(name, static_cast<size_t>(n)) : std::string();
}

bool Ui::PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  HWND hwnd = static_cast<HWND>(window);
  // A null window would post to this thread's own queue, which is the host's, not a window's.
  if (!hwnd) return false;
  return PostMessageA(hwnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != FALSE;
}

bool Ui::AskYesNo(const std::string& text, const std::string& caption) {
  // Task-modal like ShowMessage; the box has no Cancel, so Escape and the close button are off
  // and only the two answers close it.
  return MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES;
}

}  // namespace qzr::win32
