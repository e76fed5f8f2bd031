// What the UI tests share: a fresh module state, message boxes and questions shown for real (the
// scripts find and close them) and web pages only recorded, and actions that record what the buttons asked.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialogs.h"
#include "base/errors.h"
#include "plugin/plugin_state.h"
#include "dialog_driver.h"
#include "platform/platform.h"
#include "ui/win32/resource_ids.h"

namespace qzr::test {

class ForwardingUi final : public UiApi {
 public:
  explicit ForwardingUi(UiApi* real) : real_(real) {}
  void ShowMessage(const std::string& text, const std::string& caption) override {
    real_->ShowMessage(text, caption);
  }
  void ShellOpen(const std::string& target, void* parent) override { opened.emplace_back(target, parent); }
  std::string WindowClassName(void* window) override { return real_->WindowClassName(window); }
  bool PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    return real_->PostToWindow(window, message, wParam, lParam);
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    return real_->AskYesNo(text, caption);
  }
  // The Wine prefix's settings and its Explorer stay as they are.
  void BroadcastSettingChange(const std::string&) override {}
  void NotifyAssociationsChanged() override {}
  bool SetSystemParameter(uint32_t, uint32_t, const std::vector<int32_t>&) override { return true; }
  long RestartExplorer() override { return 0; }
  std::vector<std::pair<std::string, void*>> opened;

 private:
  UiApi* real_;
};

// Read only after the dialog has closed: the dialog calls them on the test's thread.
class FakeActions final : public ApplyDialogActions {
 public:
  void Save(int radioIndex, const std::string& typedValue) override {
    saves.emplace_back(radioIndex, typedValue);
    if (failingSaves > 0) {
      --failingSaves;
      RaiseUnableToWrite("C:\\settings.ini");
    }
  }
  void Rebuild() override {
    ++rebuilds;
    if (failingRebuilds > 0) {
      --failingRebuilds;
      throw ShownError("Cannot create file \"C:\\plugins\\a.tweak\". Access is denied.");
    }
  }
  std::vector<std::pair<int, std::string>> saves;
  int rebuilds = 0;
  int failingSaves = 0;
  int failingRebuilds = 0;
};

class UiTest : public ::testing::Test {
 protected:
  // Runs a dialog with a script that drives it; the script's failures fail the test.
  static int RunDialog(const std::function<int()>& show, const std::function<void(DialogDriver&)>& script) {
    std::vector<std::string> failures;
    int result = DialogDriver::Run(show, script, failures);
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
    return result;
  }

  UiTest() { ResetState(); }
  ~UiTest() override { ResetState(); }
  UiApi* real_ = Os().ui;
  ForwardingUi ui_{real_};
  Override<UiApi> uiOverride_{Os().ui, &ui_};
};

}  // namespace qzr::test
