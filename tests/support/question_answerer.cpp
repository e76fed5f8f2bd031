// The user who answers a question.
#include "support/question_answerer.h"

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <thread>
#else
#include "platform/posix/backends.h"
#endif

namespace qzr::test {

#ifdef _WIN32

namespace {

struct Search {
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<Search*>(found)->box = window;
  return FALSE;
}

std::string Narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

struct QuestionAnswerer::Clicker {
  std::thread thread;
  std::string caption;
};

QuestionAnswerer::QuestionAnswerer(bool yes) : clicker_(std::make_unique<Clicker>()) {
  DWORD asking = GetCurrentThreadId();
  Clicker* clicker = clicker_.get();
  clicker_->thread = std::thread([asking, yes, clicker] {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < until) {
      Search search;
      EnumThreadWindows(asking, FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.box) {
        wchar_t caption[256] = {};
        GetWindowTextW(search.box, caption, 256);
        clicker->caption = Narrow(caption);
        PostMessageW(search.box, WM_COMMAND, yes ? IDYES : IDNO, 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
}

QuestionAnswerer::~QuestionAnswerer() {
  if (clicker_->thread.joinable()) clicker_->thread.join();
}

std::string QuestionAnswerer::AnsweredCaption() {
  if (clicker_->thread.joinable()) clicker_->thread.join();
  return clicker_->caption;
}

#else

struct QuestionAnswerer::Clicker {};

QuestionAnswerer::QuestionAnswerer(bool yes) { posix::Ui::AnswerNextQuestion(yes); }

QuestionAnswerer::~QuestionAnswerer() { posix::Ui::ForgetAnswers(); }

std::string QuestionAnswerer::AnsweredCaption() { return {}; }

#endif

}  // namespace qzr::test
