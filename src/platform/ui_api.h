// What the plugin shows outside its dialogs: a modal message box, a yes/no question, the shell's
// "open", the one message it sends the host's main window (the panel's "reread source" command),
// and what tells the running system that a setting changed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

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
  // WM_SETTINGCHANGE to every top-level window, wParam 0, `area` as its text (lParam 0 when
  // empty). A window that does not answer at once is not waited for: a hung one never blocks
  // the host.
  virtual void BroadcastSettingChange(const std::string& area) = 0;
  // SHChangeNotify(SHCNE_ASSOCCHANGED): Explorer's windows redraw with their view settings.
  virtual void NotifyAssociationsChanged() = 0;
  // SystemParametersInfoW(action, uiParam, the numbers or null, SPIF_UPDATEINIFILE |
  // SPIF_SENDCHANGE): the system's value, its profile and every window learn it. False when refused.
  virtual bool SetSystemParameter(uint32_t action, uint32_t uiParam, const std::vector<int32_t>& numbers) = 0;
  // Ends the Explorer of this user in this session, as a restart of Windows would (it saves its
  // state), and starts it again: 0, or the system's error code.
  virtual long RestartExplorer() = 0;
};

}  // namespace qzr
