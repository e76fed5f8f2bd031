// POSIX substitute for the message box and the shell: a Linux host gives a plain library no
// window system, so messages and questions go to standard error (a question is answered as a test
// queued it, else No) and web addresses to xdg-open. Windows exist only as a test opens them,
// each with its class and the messages posted to it. There is no system to tell of changed
// settings: what would be sent is recorded for tests, and a restart of Explorer fails as the
// fault injection says ("RestartExplorer").
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <deque>
#include <map>
#include <utility>
#include <mutex>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"

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

struct SettingNotices {
  std::vector<std::string> Sent;
  std::map<uint32_t, std::vector<int32_t>> Parameters;
};

// Under WindowsMutex, like the windows: any thread may send.
SettingNotices& Notices() {
  static SettingNotices notices;
  return notices;
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

void Ui::BroadcastSettingChange(const std::string& area) {
  std::lock_guard lock(WindowsMutex());
  Notices().Sent.push_back(area.empty() ? "WM_SETTINGCHANGE" : "WM_SETTINGCHANGE " + area);
}

void Ui::NotifyAssociationsChanged() {
  std::lock_guard lock(WindowsMutex());
  Notices().Sent.push_back("SHCNE_ASSOCCHANGED");
}

bool Ui::SetSystemParameter(uint32_t action, uint32_t uiParam, const std::vector<int32_t>& numbers) {
  std::lock_guard lock(WindowsMutex());
  char head[32];
  std::snprintf(head, sizeof head, "SPI 0x%X ", static_cast<unsigned>(action));
  std::string line = head;
  if (numbers.empty()) {
    line += std::to_string(uiParam);
  } else {
    for (size_t i = 0; i < numbers.size(); ++i) line += (i ? "," : "") + std::to_string(numbers[i]);
  }
  Notices().Sent.push_back(line);
  Notices().Parameters[action] = numbers.empty() ? std::vector<int32_t>{static_cast<int32_t>(uiParam)} : numbers;
  return true;
}

long Ui::RestartExplorer() {
  if (long fault = Faults::Check("RestartExplorer")) return fault;
  std::lock_guard lock(WindowsMutex());
  Notices().Sent.push_back("restart Explorer");
  return 0;
}

std::vector<std::string> Ui::TakeSettingNotices() {
  std::lock_guard lock(WindowsMutex());
  return std::exchange(Notices().Sent, {});
}

std::vector<int32_t> Ui::SystemParameter(uint32_t action) {
  std::lock_guard lock(WindowsMutex());
  auto it = Notices().Parameters.find(action);
  return it == Notices().Parameters.end() ? std::vector<int32_t>{} : it->second;
}

}  // namespace qzr::posix
