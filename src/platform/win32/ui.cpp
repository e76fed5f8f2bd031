// Win32 UI backend: MessageBoxW and ShellExecuteW, so any text shows right on any code page.
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

}  // namespace qzr::win32
