// A modal form: a top-level dialog window without owner, laid out in pixels, centred on the
// screen, running its own message loop on the calling thread until its modal result is set.
// Pages are child dialogs, so the keyboard moves through their controls as through the form's.
// Both forms speak the interface language, which their two flag buttons switch, and link to the
// maker's web page: that handling lives here, once.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/dialogs.h"
#include "ui/win32/gdi.h"

namespace qzr::ui {

class Form {
 public:
  // `language` is the interface language: the form shows it, and its flag buttons change it and
  // then run `chosen`.
  Form(uint8_t& language, const LanguageChosen& chosen) : language_(language), languageChosen_(chosen) {}
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Shows the form and runs its message loop; the other windows of this thread are disabled
  // meanwhile. Returns the modal result.
  int ShowModal();
  HWND Handle() const { return hwnd_; }
  // Shows the texts of the interface language: at the first activation and after each flag.
  virtual void ApplyLanguage() = 0;

 protected:
  // Makes the window with its caption and client size (96 dpi pixels), then calls OnCreate.
  bool Create(const std::wstring& caption, int clientWidth, int clientHeight);
  void SetModalResult(int result);

  virtual void OnCreate() = 0;
  // The first activation only.
  virtual void OnFirstActivate() { ApplyLanguage(); }
  // The commands of the form's own controls (the flag buttons are handled before).
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
  // The Russian (IDC_SPEEDBUTTON3) and the US (IDC_SPEEDBUTTON2) flag, in that order.
  void AddFlagButtons(HWND parent, const RECT& russian, const RECT& english);

  uint8_t Language() const { return language_; }
  // A message box with the plugin's caption; the form stays open.
  static void ShowError(const std::string& message);
  // A label's notification `code`: under the pointer it turns `over`, when the pointer leaves `away`.
  static void Highlight(HWND label, int code, COLORREF over, COLORREF away);
  // A click on a link label (`code`) opens the maker's web page; `owner` goes to the shell.
  static void FollowLink(int code, HWND owner);

  Scale scale_;

 private:
  static INT_PTR CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
  static INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  void SwitchLanguage(uint8_t language);

  uint8_t& language_;
  LanguageChosen languageChosen_;
  Bitmap flagRu_, flagUs_;
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
