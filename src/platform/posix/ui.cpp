// POSIX substitute for the message box and the shell: a Linux host gives a plain library no
// window system, so messages and questions go to standard error (a question is answered as a test
// queued it, else No) and web addresses to xdg-open. Windows exist
// only as a test opens them, each with its class and the messages posted to it.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <deque>
#include <map>
#include <utility>
#include <mutex>

#include "platform/posix/backends.h"

extern char** environ;

namespace qzr::posix {
namespace {

struct FakeWindow {
  std::string ClassName;
  std::vector<Ui::Posted> Queue;
};

// Posting is allowed from any thread, as on Windows.
std::mutex& WindowsMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<void*, FakeWindow>& Windows() {
  static std::map<void*, FakeWindow> windows;
  return windows;
}

std::deque<bool>& Answers() {
  static std::deque<bool> answers;
  return answers;
}

}  // namespace

void Ui::ShowMessage(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void Ui::ShellOpen(const std::string& target, void*) {
  pid_t pid = 0;
  const char* argv[] = {"xdg-open", target.c_str(), nullptr};
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
  }
}

std::string Ui::WindowClassName(void* window) {
  std::lock_guard lock(WindowsMutex());
  auto it = Windows().find(window);
  return it == Windows().end() ? std::string() : it->second.ClassName;
}

bool Ui::PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  std::lock_guard lock(WindowsMutex());
  auto it = Windows().find(window);
  if (!window || it == Windows().end()) return false;
  it->second.Queue.push_back(Posted{message, wParam, lParam});
  return true;
}

bool Ui::AskYesNo(const std::string& text, const std::string& caption) {
  bool yes = false;
  {
    std::lock_guard lock(WindowsMutex());
    if (!Answers().empty()) {
      yes = Answers().front();
      Answers().pop_front();
    }
  }
  std::fprintf(stderr, "%s: %s [%s]\n", caption.c_str(), text.c_str(), yes ? "Yes" : "No");
  return yes;
}

void Ui::AnswerNextQuestion(bool yes) {
  std::lock_guard lock(WindowsMutex());
  Answers().push_back(yes);
}

void Ui::ForgetAnswers() {
  std::lock_guard lock(WindowsMutex());
  Answers().clear();
}

void* Ui::OpenWindow(const std::string& className) {
  std::lock_guard lock(WindowsMutex());
  static uintptr_t next = 0x10000;
  void* handle = reinterpret_cast<void*>(next += 0x10);
  Windows()[handle] = FakeWindow{className, {}};
  return handle;
}

void Ui::CloseWindow(void* window) {
  std::lock_guard lock(WindowsMutex());
  Windows().erase(window);
}

std::vector<Ui::Posted> Ui::TakePosted(void* window) {
  std::lock_guard lock(WindowsMutex());
  auto it = Windows().find(window);
  if (it == Windows().end()) return {};
  return std::exchange(it->second.Queue, {});
}

}  // namespace qzr::posix
