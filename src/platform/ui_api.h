// What the plugin shows outside its dialogs: a modal message box, a yes/no question, the shell's
// "open", and the one message it sends the host's main window (the panel's "reread source" command).
#pragma once
#include <cstdint>
#include <string>

namespace qzr {

class UiApi {
 public:
  virtual ~UiApi() = default;
  // A modal box with an OK button. Texts are UTF-8.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // ShellExecute "open" on a web address, hidden, result ignored. `parent` is a window handle or null.
  virtual void ShellOpen(const std::string& target, void* parent) = 0;
  // GetClassNameA: the class of a window; empty for null or for a handle that names no window.
  virtual std::string WindowClassName(void* window) = 0;
  // PostMessageA to a window; false for null (never the thread's own queue) or for a handle
  // that names no window.
  virtual bool PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // A modal question with Yes and No buttons; true for Yes. Closing the box answers No. Texts are UTF-8.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
};

}  // namespace qzr
