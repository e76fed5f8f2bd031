// What the plugin shows outside its dialogs: a modal message box, and the shell's "open".
#pragma once
#include <string>

namespace qzr {

class UiApi {
 public:
  virtual ~UiApi() = default;
  // A modal box with an OK button. Texts are UTF-8.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // ShellExecute "open" on a web address, hidden, result ignored. `parent` is a window handle or null.
  virtual void ShellOpen(const std::string& target, void* parent) = 0;
};

}  // namespace qzr
