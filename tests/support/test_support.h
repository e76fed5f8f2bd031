// Helpers shared by the test suites: temporary folders, paths to the sources, environment
// variables set for a scope, a message box that records instead of blocking, and a fresh
// module state for each test.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qzr::test {

// A new, empty folder below the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder with a trailing delimiter, as IniDir and ModuleDir hold folders.
  const std::string& dir() const { return dir_; }
  std::string path(const std::string& name) const { return dir_ + name; }

 private:
  std::string dir_;
};

// A file of the source tree (golden files, example definitions), as this platform names it.
std::string SourcePath(const std::string& relative);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& dir);

#ifdef _WIN32
// The exit code of `program` run with `arguments`, its output dropped; 9999 when it cannot start.
unsigned long ExitCodeOf(const std::string& program, const std::string& arguments);
#endif

// Sets (or with nullptr removes) a process environment variable for the scope.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_ = false;
  std::string old_;
};

// Records message boxes, questions and shell calls instead of showing anything; a question is
// answered from `answers`, oldest first, and No once they are used up.
class RecordingUi final : public UiApi {
 public:
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back(text);
    captions.push_back(caption);
  }
  void ShellOpen(const std::string& target, void*) override { opened.push_back(target); }
  // Windows and their messages are the backend's: hosts' windows are real ones.
  std::string WindowClassName(void* window) override { return real_->WindowClassName(window); }
  bool PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    return real_->PostToWindow(window, message, wParam, lParam);
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back(text);
    questionCaptions.push_back(caption);
    if (answers.empty()) return false;
    bool yes = answers.front();
    answers.erase(answers.begin());
    return yes;
  }
  // Notices of changed settings and restarts of Explorer are only recorded, as the POSIX
  // substitute words them (its header lists the lines): the test's system stays as it is.
  void BroadcastSettingChange(const std::string& area) override {
    notices.push_back(area.empty() ? "WM_SETTINGCHANGE" : "WM_SETTINGCHANGE " + area);
  }
  void NotifyAssociationsChanged() override { notices.push_back("SHCNE_ASSOCCHANGED"); }
  bool SetSystemParameter(uint32_t action, uint32_t uiParam, const std::vector<int32_t>& numbers) override {
    char head[32];
    std::snprintf(head, sizeof head, "SPI 0x%X", static_cast<unsigned>(action));
    std::string line = head;
    for (size_t i = 0; i < numbers.size(); ++i) line += (i ? "," : " ") + std::to_string(numbers[i]);
    if (numbers.empty()) line += " " + std::to_string(uiParam);
    notices.push_back(line);
    return true;
  }
  long RestartExplorer() override {
    notices.push_back("restart Explorer");
    return restartResult;
  }
  std::vector<std::string> messages, captions, opened, questions, questionCaptions, notices;
  std::vector<bool> answers;
  long restartResult = 0;

 private:
  UiApi* real_ = Os().ui;
};

// Base fixture: a fresh module state and a recording message box for every test.
class PluginTest : public ::testing::Test {
 protected:
  PluginTest();
  ~PluginTest() override;
  RecordingUi ui_;

 private:
  Override<UiApi> uiOverride_;
};

}  // namespace qzr::test
