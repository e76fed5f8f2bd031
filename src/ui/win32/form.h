// A modal form: a top-level dialog window without owner, laid out in pixels, centred on the
// screen, running its own message loop on the calling thread until its modal result is set.
// Pages are child dialogs, so the keyboard moves through their controls as through the form's.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "ui/win32/gdi.h"

namespace qzr::ui {

class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Shows the form and runs its message loop; the other windows of this thread are disabled
  // meanwhile. Returns the modal result.
  int ShowModal();
  HWND Handle() const { return hwnd_; }

 protected:
  // Makes the window with its caption and client size (96 dpi pixels), then calls OnCreate.
  bool Create(const std::wstring& caption, int clientWidth, int clientHeight);
  void SetModalResult(int result);

  virtual void OnCreate() = 0;
  // The first activation only.
  virtual void OnFirstActivate() {}
  virtual void OnCommand(int id, int code) = 0;
  virtual void OnNotify(const NMHDR&) {}
  // Sees every message of the loop before the controls do; true when it took the message.
  virtual bool OnKeyPreview(const MSG&) { return false; }
  // Draws what a page has besides its controls (frames, rules).
  virtual void OnPaintPage(int /*pageId*/, HDC) {}
  // The button Enter presses (when it is visible); 0 for none.
  virtual HWND DefaultButton() const { return nullptr; }
  // The control that has the focus when the form opens.
  virtual HWND InitialFocus() const = 0;

  // A rectangle given in 96 dpi pixels, in this screen's pixels.
  RECT Px(int x, int y, int width, int height) const;
  // A screen length back in 96 dpi pixels.
  int Unscale(int pixels) const { return MulDiv(pixels, 96, scale_.Dpi()); }
  // A child control (`bounds` already in screen pixels, as Px gives).
  HWND AddControl(HWND parent, int id, const wchar_t* className, const std::wstring& text, DWORD style,
                  DWORD exStyle, const RECT& bounds, HFONT font) const;
  // A page: a hidden child dialog of the form at `bounds` (screen pixels).
  HWND AddPage(int id, const RECT& bounds);

  Scale scale_;

 private:
  static INT_PTR CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
  static INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  int modalResult_ = 0;
  bool activated_ = false;
};

// Unicode text for the W API from the system's UTF-8 texts, and back.
std::wstring Wide(std::string_view utf8);
std::string Utf8(const std::wstring& text);
std::wstring WindowText(HWND hwnd);
// Sets an edit box's text and shows it from its first line and column (a multi-line edit
// would otherwise show where the caret ends up).
void SetEditText(HWND edit, const std::wstring& text);

}  // namespace qzr::ui
