// Drives the real dialogs the way a user would, from a second thread of the test: the dialog runs
// modally on the test's thread, the script finds its windows by control id and clicks, types and
// presses keys with window messages. Every wait has a limit; whatever a failed or finished script
// leaves open is closed, so no test can block.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qzr::test {

struct DriverFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);

class DialogDriver {
 public:
  // Runs `script` on a second thread while `show` runs the dialog on this one; adds the script's
  // failures to `failures` and returns what `show` returned.
  static int Run(const std::function<int()>& show, const std::function<void(DialogDriver&)>& script,
                 std::vector<std::string>& failures);

  // The visible dialog of the test's thread that holds control `id` (waits for it; the first
  // dialog after Wine's fonts have changed takes long).
  HWND WaitForForm(int id, int seconds = 30);
  // A message box of the test's thread (waits for it); `form` is the dialog it stands over.
  HWND WaitForMessageBox(HWND form);
  // Waits until the window is gone or hidden.
  void WaitUntilClosed(HWND window);
  // Waits until `control` has the keyboard focus of the dialog thread: the dialog is ready.
  void WaitForFocus(HWND control);
  // Waits until `condition` holds; fails with `what` when it does not within `seconds`.
  void WaitUntil(const std::function<bool()>& condition, const std::string& what, int seconds = 30);

  // A control anywhere inside `top`, by id; fails when there is none.
  HWND Control(HWND top, int id);
  std::wstring Text(HWND window);
  // All texts of a message box's static controls, joined by a space.
  std::wstring MessageText(HWND box);
  std::wstring TabText(HWND tab, int index);
  bool Checked(HWND button);
  bool Visible(HWND window) { return IsWindow(window) && IsWindowVisible(window); }
  LRESULT Send(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // A click that returns when the click's handler has run.
  void Click(HWND control) { Send(control, BM_CLICK); }
  // A click for handlers that show a message box (they return only when it is closed).
  void PostClick(HWND control) { PostMessageW(control, BM_CLICK, 0, 0); }
  void PostKey(HWND control, UINT virtualKey);
  void SetText(HWND control, const std::wstring& text);

  // Records a failure of the script and goes on.
  void Expect(bool ok, const std::string& what);
  // The window's text is `utf8`.
  void ExpectText(HWND window, const std::string& utf8, const std::string& what);

 private:
  explicit DialogDriver(DWORD thread) : thread_(thread) {}
  std::vector<HWND> TopWindows();
  void CloseEverything(const std::atomic<bool>& done);

  DWORD thread_;
  std::vector<std::string> failures_;
};

}  // namespace qzr::test
