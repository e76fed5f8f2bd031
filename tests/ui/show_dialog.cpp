// Shows one dialog for a screenshot and keeps it open until told.
// Usage: qzr_show_dialog KIND READY DONE
//   KIND   apply-en, apply-ru, apply-typed, apply-about, about-en, about-ru
//   READY  written when the dialog is ready: "WIDTHxHEIGHT+LEFT+TOP" of its window on the screen
//   DONE   the dialog closes once this file exists
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "ui/dialogs.h"
#include "plugin/plugin_state.h"
#include "dialog_driver.h"
#include "ui/win32/resource_ids.h"

namespace {

struct NoActions final : qzr::ApplyDialogActions {
  void Save(int, const std::string&) override {}
  void Rebuild() override {}
};

bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

}  // namespace

int main(int argc, char** argv) {
  using namespace qzr;
  if (argc != 4) {
    std::fprintf(stderr, "usage: qzr_show_dialog KIND READY DONE\n");
    return 2;
  }
  const std::string kind = argv[1], ready = argv[2], done = argv[3];
  const bool about = kind.rfind("about", 0) == 0;
  State().Language = kind.find("-ru") != std::string::npos ? kRussian : kEnglish;

  ApplyDialogState state;
  if (kind == "apply-typed") {
    state.Memo = "Menu show delay, ms (HKCU\\Control Panel\\Desktop, MenuShowDelay)";
    state.ValueVisible = true;
    state.Value = "400";
    state.DefVal = "400";
  } else {
    state.Memo = State().Language == kRussian ? "Показывать расширения файлов" : "Show file extensions";
    state.RadioVisible = true;
    state.RadioIndex = 0;
    state.DefVal = State().Language == kRussian ? "НЕТ" : "NO";
  }
  NoActions actions;

  std::vector<std::string> failures;
  test::DialogDriver::Run(
      [&] { return about ? ShowAboutDialog(State().Language) : ShowApplyDialog(state, actions, State().Language); },
      [&](test::DialogDriver& d) {
        HWND form = d.WaitForForm(about ? IDC_MEMO1 : IDC_SAVEPLUG, 60);
        d.WaitForFocus(d.Control(form, about ? IDC_BUTTON1 : IDC_DEFVAL));
        if (kind == "apply-about") {
          d.Send(d.Control(form, IDC_PAGECONTROL1), TCM_SETCURFOCUS, 1);
          d.WaitUntil([&] { return d.Visible(d.Control(form, IDC_TABSHEET2)); }, "the about page");
        }
        SetCursorPos(0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let it paint
        RECT r;
        GetWindowRect(form, &r);
        std::ofstream(ready) << (r.right - r.left) << 'x' << (r.bottom - r.top) << '+' << r.left << '+' << r.top
                             << '\n';
        d.WaitUntil([&] { return FileExists(done); }, "the screenshot", 60);
        PostMessageW(form, WM_CLOSE, 0, 0);
        d.WaitUntilClosed(form);
      },
      failures);
  for (const std::string& failure : failures) std::fprintf(stderr, "%s\n", failure.c_str());
  return failures.empty() ? 0 : 1;
}
