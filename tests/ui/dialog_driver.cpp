// The dialog driver: waits by polling the dialog thread's windows, talks to them with messages
// that cannot hang (SendMessageTimeout), and closes what is left when the script is over.
#include "dialog_driver.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include <commctrl.h>

namespace qzr::test {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(20);
constexpr int kPollsPerSecond = 50;
constexpr UINT kSendLimitMs = 10000;     // for a message to be answered
constexpr int kRescuePolls = 1500;       // 30 s of closing before the process gives up

bool IsClass(HWND hwnd, const wchar_t* name) {
  wchar_t buffer[64] = {};
  return GetClassNameW(hwnd, buffer, 64) && lstrcmpiW(buffer, name) == 0;
}

struct Search {
  int Id;
  HWND Found = nullptr;
};

BOOL CALLBACK FindById(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  if (GetDlgCtrlID(hwnd) == s->Id) {
    s->Found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM list) {
  if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectStatics(HWND hwnd, LPARAM list) {
  if (IsClass(hwnd, L"Static")) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

HWND FindControl(HWND top, int id) {
  Search s{id};
  EnumChildWindows(top, &FindById, reinterpret_cast<LPARAM>(&s));  // all descendants
  return s.Found;
}

}  // namespace

std::wstring Wide(const std::string& utf8) {
  std::wstring out(utf8.size() + 1, L'\0');
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return out;
}

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return out;
}

int DialogDriver::Run(const std::function<int()>& show, const std::function<void(DialogDriver&)>& script,
                      std::vector<std::string>& failures) {
  DialogDriver driver(GetCurrentThreadId());
  std::atomic<bool> done = false;
  std::thread thread([&] {
    try {
      script(driver);
    } catch (const std::exception& e) {
      driver.failures_.push_back(e.what());
    }
    driver.CloseEverything(done);
  });
  int result = show();
  done = true;
  thread.join();
  failures.insert(failures.end(), driver.failures_.begin(), driver.failures_.end());
  return result;
}

void DialogDriver::CloseEverything(const std::atomic<bool>& done) {
  // A script that went through has closed the dialog already; allow it time to go. Wine under
  // Xvfb takes about 2 s to take a closed dialog down, longer on a busy machine.
  for (int i = 0; i < 15 * kPollsPerSecond && !done; ++i) std::this_thread::sleep_for(kPoll);
  if (done) return;
  failures_.push_back("the dialog was still open after the script: closed by the watchdog");
  for (int i = 0; i < kRescuePolls && !done; ++i) {
    for (HWND w : TopWindows()) PostMessageW(w, WM_CLOSE, 0, 0);
    std::this_thread::sleep_for(kPoll);
  }
  if (!done) {
    std::fprintf(stderr, "dialog watchdog: the dialog does not close; giving up\n");
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  }
}

std::vector<HWND> DialogDriver::TopWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(thread_, &CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void DialogDriver::WaitUntil(const std::function<bool()>& condition, const std::string& what, int seconds) {
  for (int i = 0; i < seconds * kPollsPerSecond; ++i) {
    if (condition()) return;
    std::this_thread::sleep_for(kPoll);
  }
  throw DriverFailure("gave up waiting: " + what);
}

HWND DialogDriver::WaitForForm(int id, int seconds) {
  HWND form = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopWindows())
          if (IsClass(w, L"#32770") && FindControl(w, id)) form = w;
        return form != nullptr;
      },
      "a dialog with control " + std::to_string(id), seconds);
  return form;
}

HWND DialogDriver::WaitForMessageBox(HWND form) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopWindows())
          if (w != form && IsClass(w, L"#32770")) box = w;
        return box != nullptr;
      },
      "a message box");
  return box;
}

void DialogDriver::WaitUntilClosed(HWND window) {
  WaitUntil([&] { return !Visible(window); }, "the dialog to close");
}

void DialogDriver::WaitForFocus(HWND control) {
  WaitUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread_, &info) && info.hwndFocus == control;
      },
      "the focus on control " + std::to_string(GetDlgCtrlID(control)));
}

void DialogDriver::Expect(bool ok, const std::string& what) {
  if (!ok) failures_.push_back(what);
}

void DialogDriver::ExpectText(HWND window, const std::string& utf8, const std::string& what) {
  std::wstring text = Text(window);
  if (text != Wide(utf8)) failures_.push_back(what + ": \"" + Utf8(text) + "\", expected \"" + utf8 + "\"");
}

HWND DialogDriver::Control(HWND top, int id) {
  HWND control = FindControl(top, id);
  if (!control) throw DriverFailure("no control " + std::to_string(id));
  return control;
}

LRESULT DialogDriver::Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_NORMAL, kSendLimitMs, &result))
    throw DriverFailure("no answer to message " + std::to_string(msg));
  return static_cast<LRESULT>(result);
}

std::wstring DialogDriver::Text(HWND window) {
  auto length = static_cast<int>(Send(window, WM_GETTEXTLENGTH));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  auto got = static_cast<int>(Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<size_t>(got));
  return text;
}

std::wstring DialogDriver::MessageText(HWND box) {
  std::vector<HWND> statics;
  EnumChildWindows(box, &CollectStatics, reinterpret_cast<LPARAM>(&statics));
  std::wstring text;
  for (HWND s : statics) {
    std::wstring part = Text(s);
    if (part.empty()) continue;
    if (!text.empty()) text += L' ';
    text += part;
  }
  return text;
}

std::wstring DialogDriver::TabText(HWND tab, int index) {
  wchar_t buffer[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = 128;
  if (!Send(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
    throw DriverFailure("no tab " + std::to_string(index));
  return item.pszText;
}

bool DialogDriver::Checked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }

void DialogDriver::PostKey(HWND control, UINT virtualKey) {
  UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(control, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(control, WM_KEYUP, virtualKey, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void DialogDriver::SetText(HWND control, const std::wstring& text) {
  Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace qzr::test
