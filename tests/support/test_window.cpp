// The stand-in host window.
#include "support/test_window.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/posix/backends.h"
#endif

namespace qzr::test {

#ifdef _WIN32

TestWindow::TestWindow(const std::string& className) : className_(className) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className_.c_str();
  RegisterClassA(&wc);
  handle_ = CreateWindowExA(0, className_.c_str(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

TestWindow::~TestWindow() {
  Close();
  UnregisterClassA(className_.c_str(), GetModuleHandleA(nullptr));
}

std::vector<PostedMessage> TestWindow::Take() {
  std::vector<PostedMessage> taken;
  MSG msg;
  while (handle_ && PeekMessageA(&msg, static_cast<HWND>(handle_), 0, 0, PM_REMOVE))
    taken.push_back(PostedMessage{msg.message, static_cast<uintptr_t>(msg.wParam), static_cast<intptr_t>(msg.lParam)});
  return taken;
}

void TestWindow::Close() {
  if (handle_) DestroyWindow(static_cast<HWND>(handle_));
  handle_ = nullptr;
}

#else

TestWindow::TestWindow(const std::string& className) : className_(className) {
  handle_ = posix::Ui::OpenWindow(className);
}

TestWindow::~TestWindow() { Close(); }

std::vector<PostedMessage> TestWindow::Take() {
  std::vector<PostedMessage> taken;
  for (const posix::Ui::Posted& p : posix::Ui::TakePosted(handle_)) taken.push_back(PostedMessage{p.Message, p.WParam, p.LParam});
  return taken;
}

void TestWindow::Close() {
  if (handle_) posix::Ui::CloseWindow(handle_);
  handle_ = nullptr;
}

#endif

}  // namespace qzr::test
