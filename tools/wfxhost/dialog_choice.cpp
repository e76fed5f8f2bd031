// The scripted choice: finds the apply dialog by its Save button's control id and works it with
// window messages, as a user's clicks would.
#include "dialog_choice.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/resource_ids.h"
#endif

namespace wfxhost {

struct DialogChoice::State {
  std::string choice;
  int timeoutSeconds = 20;
  unsigned long hostThread = 0;
  std::thread worker;
  std::string outcome = "no dialog to drive";
};

DialogChoice::DialogChoice(const std::string& choice, int timeoutSeconds) : state_(std::make_unique<State>()) {
  state_->choice = choice;
  state_->timeoutSeconds = timeoutSeconds;
}

DialogChoice::~DialogChoice() { Finish(); }

#ifdef _WIN32
namespace {

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND w, LPARAM search) {
  auto* s = reinterpret_cast<ControlSearch*>(search);
  if (GetDlgCtrlID(w) != s->id) return TRUE;
  s->found = w;
  return FALSE;
}

// A control anywhere inside the dialog: the pages of its tab control hold them.
HWND Control(HWND dialog, int id) {
  ControlSearch search{id, nullptr};
  EnumChildWindows(dialog, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK IsApplyDialog(HWND w, LPARAM found) {
  if (IsWindowVisible(w) && Control(w, IDC_SAVEPLUG)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CloseWindow(HWND w, LPARAM) {
  PostMessageW(w, WM_CLOSE, 0, 0);
  return TRUE;
}

std::string TextOf(HWND control) {
  wchar_t text[512] = {};
  GetWindowTextW(control, text, 512);
  char utf8[1536] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// What the dialog shows: the radio choice of a switched tweak, or the value of a typed one.
std::string Describe(HWND dialog) {
  std::string shown;
  if (IsWindowVisible(Control(dialog, IDC_RADIO0)))
    shown = Checked(Control(dialog, IDC_RADIO0)) ? "Yes" : Checked(Control(dialog, IDC_RADIO1)) ? "No" : "nothing chosen";
  else
    shown = "value \"" + TextOf(Control(dialog, IDC_VALUE)) + "\"";
  return "shows " + shown + ", default " + TextOf(Control(dialog, IDC_DEFVAL));
}

HWND FindApplyDialog(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, IsApplyDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void Drive(const std::string& choice, DWORD thread, int timeoutSeconds, std::string* outcome) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  HWND dialog = nullptr;
  while (!(dialog = FindApplyDialog(thread))) {
    if (std::chrono::steady_clock::now() > deadline) {
      *outcome = "the apply dialog did not appear";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let activation apply the language
  int press = IDC_SAVEPLUG;
  std::string seen = Describe(dialog);
  if (choice == "yes") {
    SendMessageW(Control(dialog, IDC_RADIO0), BM_CLICK, 0, 0);
  } else if (choice == "no") {
    SendMessageW(Control(dialog, IDC_RADIO1), BM_CLICK, 0, 0);
  } else if (choice.rfind("value=", 0) == 0) {
    std::string text = choice.substr(6);
    int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), n);
    SendMessageW(Control(dialog, IDC_VALUE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  } else {
    press = IDC_BUTTON1;
  }
  PostMessageW(Control(dialog, press), BM_CLICK, 0, 0);
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (std::chrono::steady_clock::now() > deadline) {
      // An error message stands over the dialog: close both, so the host is never left hanging.
      *outcome = "the dialog stayed open (an error was shown)";
      EnumThreadWindows(thread, CloseWindow, 0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  *outcome = seen + "; " + (press == IDC_SAVEPLUG ? "chose " + choice + " and saved" : "closed without saving");
}

}  // namespace

void DialogChoice::Start() {
  state_->hostThread = GetCurrentThreadId();
  State* s = state_.get();
  s->worker = std::thread([s] { Drive(s->choice, s->hostThread, s->timeoutSeconds, &s->outcome); });
}
#else
void DialogChoice::Start() {}
#endif

std::string DialogChoice::Finish() {
  if (state_ && state_->worker.joinable()) state_->worker.join();
  return state_ ? state_->outcome : std::string();
}

}  // namespace wfxhost
