// The modal form machinery.
#include "ui/win32/form.h"

#include <vector>

#include "platform/platform.h"
#include "texts/dialog_texts.h"
#include "texts/texts.h"
#include "ui/dialogs.h"
#include "ui/win32/graphic_controls.h"
#include "ui/win32/module_resources.h"
#include "ui/win32/resource_ids.h"

namespace qzr::ui {
namespace {

// A dialog template with no controls, no menu, the dialog class and no title.
struct alignas(4) EmptyTemplate {
  DLGTEMPLATE Head;
  WORD Menu = 0, Class = 0, Title = 0;
};

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

// While a form is modal, the thread's other windows take no input (the host's panels too).
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND form) : form_(form) {
    EnumThreadWindows(GetCurrentThreadId(), &Disable, reinterpret_cast<LPARAM>(this));
  }
  ~OtherWindowsDisabled() { Restore(); }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
  void Restore() {
    for (HWND w : disabled_)
      if (IsWindow(w)) EnableWindow(w, TRUE);
    disabled_.clear();
  }

 private:
  static BOOL CALLBACK Disable(HWND w, LPARAM self) {
    auto* me = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (w != me->form_ && IsWindowVisible(w) && IsWindowEnabled(w)) {
      EnableWindow(w, FALSE);
      me->disabled_.push_back(w);
    }
    return TRUE;
  }
  HWND form_;
  std::vector<HWND> disabled_;
};

Form* FormOf(HWND dialog) { return reinterpret_cast<Form*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

}  // namespace

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

void SetEditText(HWND edit, const std::wstring& text) {
  SetWindowTextW(edit, text.c_str());
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
  SendMessageW(edit, WM_HSCROLL, SB_LEFT, 0);
}

Form::~Form() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  UnregisterGraphicControls();
}

bool Form::Create(const std::wstring& caption, int clientWidth, int clientHeight) {
  EmptyTemplate t{};
  t.Head.style = kFormStyle;
  t.Head.dwExtendedStyle = kFormExStyle;
  hwnd_ = CreateDialogIndirectParamW(ThisModule(), &t.Head, nullptr, &Form::FormProc, reinterpret_cast<LPARAM>(this));
  if (!hwnd_) return false;
  SetWindowTextW(hwnd_, caption.c_str());
  auto icon = [](int size) {
    return reinterpret_cast<LPARAM>(LoadImageA(ThisModule(), QZR_ICON_MAIN, IMAGE_ICON, size, size, LR_SHARED));
  };
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, icon(GetSystemMetrics(SM_CXICON)));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, icon(GetSystemMetrics(SM_CXSMICON)));

  // The client size is the design's; the window is centred on the screen.
  RECT r{0, 0, scale_(clientWidth), scale_(clientHeight)};
  AdjustWindowRectEx(&r, kFormStyle, FALSE, kFormExStyle);
  int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  OnCreate();
  // Told to the dialog manager now, so the first activation focuses it and not the first control
  // (an edit box focused that way has all its text selected and scrolled to the end).
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(InitialFocus()), TRUE);
  return true;
}

RECT Form::Px(int x, int y, int width, int height) const {
  return RECT{scale_(x), scale_(y), scale_(x + width), scale_(y + height)};
}

HWND Form::AddControl(HWND parent, int id, const wchar_t* className, const std::wstring& text, DWORD style,
                      DWORD exStyle, const RECT& b, HFONT font) const {
  HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, b.left, b.top,
                              b.right - b.left, b.bottom - b.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
  if (hwnd && font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

HWND Form::AddPage(int id, const RECT& b) {
  EmptyTemplate t{};
  // Not clipping its children: a group box paints only its frame, the page the face inside it.
  t.Head.style = WS_CHILD | DS_CONTROL;
  t.Head.dwExtendedStyle = WS_EX_CONTROLPARENT;
  HWND page = CreateDialogIndirectParamW(ThisModule(), &t.Head, hwnd_, &Form::PageProc, reinterpret_cast<LPARAM>(this));
  if (!page) return nullptr;
  SetWindowLongPtrW(page, GWLP_ID, id);
  SetWindowPos(page, HWND_TOP, b.left, b.top, b.right - b.left, b.bottom - b.top, SWP_NOACTIVATE);
  return page;
}

void Form::AddFlagButtons(HWND parent, const RECT& russian, const RECT& english) {
  flagRu_ = LoadModuleBitmap(QZR_BITMAP_FLAG_RU);
  flagUs_ = LoadModuleBitmap(QZR_BITMAP_FLAG_US);
  CreateSpeedButton(parent, IDC_SPEEDBUTTON3, russian, flagRu_.get());
  CreateSpeedButton(parent, IDC_SPEEDBUTTON2, english, flagUs_.get());
}

void Form::SwitchLanguage(uint8_t language) {
  language_ = language;
  ApplyLanguage();
  if (!languageChosen_) return;
  if (auto error = RunDialogAction(languageChosen_)) ShowError(*error);
}

void Form::ShowError(const std::string& message) {
  Os().ui->ShowMessage(message, std::string(texts::kCaption));
}

void Form::Highlight(HWND label, int code, COLORREF over, COLORREF away) {
  if (code == QZR_LABEL_ENTER) SendMessageW(label, QZR_LABEL_SETCOLOR, over, 0);
  if (code == QZR_LABEL_LEAVE) SendMessageW(label, QZR_LABEL_SETCOLOR, away, 0);
}

void Form::FollowLink(int code, HWND owner) {
  if (code == QZR_LABEL_CLICKED) Os().ui->ShellOpen(std::string(texts::kWebAddress), owner);
}

void Form::SetModalResult(int result) {
  modalResult_ = result;
  // A click sent from another thread is handled inside GetMessage, which then goes on waiting:
  // a posted message wakes the loop to see the result.
  if (hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);
}

int Form::ShowModal() {
  if (!hwnd_) return kModalCancel;
  HWND previous = GetActiveWindow();
  modalResult_ = 0;
  OtherWindowsDisabled others(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (modalResult_ == 0) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT belongs to the host's loop: hand it back.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      modalResult_ = kModalCancel;
      break;
    }
    if (OnKeyPreview(msg)) continue;
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  // Enable the others before hiding, so the activation goes back to them and not elsewhere.
  others.Restore();
  ShowWindow(hwnd_, SW_HIDE);
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  return modalResult_;
}

INT_PTR CALLBACK Form::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    reinterpret_cast<Form*>(lParam)->hwnd_ = hwnd;
    return FALSE;
  }
  Form* form = FormOf(hwnd);
  if (!form) return FALSE;
  try {
    return form->Dispatch(msg, wParam, lParam);
  } catch (...) {
    return FALSE;  // nothing may unwind through the window manager
  }
}

INT_PTR Form::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !activated_) {
        activated_ = true;
        OnFirstActivate();
      }
      return FALSE;  // the dialog manager restores the focus
    case WM_COMMAND:
      // IDOK and IDCANCEL come from the dialog manager (Enter with no default button, Escape):
      // neither form has such a button.
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: break;
        case IDC_SPEEDBUTTON3: SwitchLanguage(kRussian); break;
        case IDC_SPEEDBUTTON2: SwitchLanguage(kEnglish); break;
        default: OnCommand(LOWORD(wParam), HIWORD(wParam)); break;
      }
      return TRUE;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case DM_GETDEFID:
      if (HWND button = DefaultButton(); button && IsWindowVisible(button) && IsWindowEnabled(button)) {
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, MAKELONG(GetDlgCtrlID(button), DC_HASDEFID));
        return TRUE;
      }
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_CLOSE:  // the close box
      SetModalResult(kModalCancel);
      return TRUE;
    case WM_DESTROY:
      if (modalResult_ == 0) modalResult_ = kModalCancel;
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK Form::PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(page, DWLP_USER, lParam);
    return FALSE;
  }
  Form* form = FormOf(page);
  if (!form) return FALSE;
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
      // The form answers for the controls of its pages.
      SendMessageW(form->hwnd_, msg, wParam, lParam);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(page, &ps);
      try {
        form->OnPaintPage(GetDlgCtrlID(page), dc);
      } catch (...) {
      }
      EndPaint(page, &ps);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qzr::ui
