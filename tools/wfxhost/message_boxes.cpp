// Answering message boxes: a box is a dialog of the standard dialog class whose text is the
// control MessageBox gives the id 0xFFFF; pressing OK is its button IDOK.
#include "message_boxes.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace wfxhost {

struct MessageBoxes::State {
  std::atomic<bool> stop{false};
  unsigned long hostThread = 0;
  std::thread worker;
  std::mutex mutex;
  std::vector<std::string> texts;
};

MessageBoxes::MessageBoxes() : state_(std::make_unique<State>()) {}

MessageBoxes::~MessageBoxes() { Finish(); }

#ifdef _WIN32
namespace {

constexpr int kMessageTextId = 0xFFFF;

BOOL CALLBACK IsMessageBox(HWND w, LPARAM found) {
  char name[16] = {};
  GetClassNameA(w, name, sizeof name);
  if (IsWindowVisible(w) && std::string(name) == "#32770" && GetDlgItem(w, kMessageTextId) && GetDlgItem(w, IDOK)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

std::string TextOf(HWND control) {
  int n = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(control, text.data(), n + 1);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
  utf8.resize(utf8.size() ? utf8.size() - 1 : 0);
  return utf8;
}

}  // namespace

void MessageBoxes::Start() {
  state_->hostThread = GetCurrentThreadId();
  State* s = state_.get();
  s->worker = std::thread([s] {
    while (!s->stop) {
      HWND box = nullptr;
      EnumThreadWindows(s->hostThread, IsMessageBox, reinterpret_cast<LPARAM>(&box));
      if (box) {
        {
          std::lock_guard lock(s->mutex);
          s->texts.push_back(TextOf(GetDlgItem(box, kMessageTextId)));
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        // Read each box once: wait until it is gone before looking for the next.
        while (!s->stop && IsWindow(box)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
}
#else
void MessageBoxes::Start() {}
#endif

std::vector<std::string> MessageBoxes::Finish() {
  if (!state_) return {};
  state_->stop = true;
  if (state_->worker.joinable()) state_->worker.join();
  std::lock_guard lock(state_->mutex);
  return state_->texts;
}

}  // namespace wfxhost
