// The about dialog's window, controls and event handlers.
#include "ui/win32/about_form.h"

#include "texts/dialog_texts.h"
#include "ui/dialogs.h"
#include "ui/win32/graphic_controls.h"
#include "ui/win32/module_resources.h"
#include "ui/win32/resource_ids.h"

namespace qzr::ui {
namespace {

constexpr int kClientWidth = 234, kClientHeight = 178;
constexpr COLORREF kYellow = RGB(255, 255, 0), kBlack = RGB(0, 0, 0);

}  // namespace

bool TForm2::Create() { return Form::Create(Wide(texts::kAboutCaption), kClientWidth, kClientHeight); }

void TForm2::OnCreate() {
  boldFont_ = MakeFont(fonts::kDefaultBold, scale_);
  sentenceFont_ = MakeFont(fonts::kSentence, scale_);

  AddFlagButtons(Handle(), Px(4, 4, 28, 16), Px(4, 24, 28, 16));

  // The logo: yellow text drawn over a black one, 3 pixels left and 1 down; right of the flags.
  std::wstring logo = Wide(texts::kLogo);
  logoFont_ = FitFont(fonts::kSmallLogo, scale_, logo, scale_(kClientWidth - 36 - 3 - 4 - 2));
  SIZE size = TextSize(logoFont_.get(), logo);
  int width = Unscale(size.cx) + 2, height = Unscale(size.cy);
  int left = 36 + 3 + (kClientWidth - 36 - 3 - 4 - width) / 2;
  CreateLabel(Handle(), {IDC_LABEL4, Px(left, 2, width, height), logoFont_.get(), kBlack}, logo);
  CreateLabel(Handle(), {IDC_LABEL1, Px(left - 3, 3, width, height), logoFont_.get(), kYellow, LabelAlign::Left, true},
              logo);

  AddControl(Handle(), IDC_MEMO1, L"EDIT", L"", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
             WS_EX_CLIENTEDGE, Px(4, 62, kClientWidth - 8, 80), sentenceFont_.get());
  AddControl(Handle(), IDC_BUTTON1, L"BUTTON", Wide(texts::kAboutOk), BS_PUSHBUTTON | WS_TABSTOP, 0,
             Px(4, 146, kClientWidth - 8, 28), boldFont_.get());
}

void TForm2::ApplyLanguage() {
  AboutTexts texts;
  qzr::ApplyLanguage(texts, Language());
  SetEditText(GetDlgItem(Handle(), IDC_MEMO1), Wide(texts.Memo1));
}

void TForm2::OnCommand(int id, int code) {
  switch (id) {
    case IDC_LABEL1:  // the logo opens the maker's page
      FollowLink(code, Handle());
      break;
    case IDC_BUTTON1:
      if (code == BN_CLICKED) SetModalResult(kModalOk);
      break;
    default:
      break;
  }
}

bool TForm2::OnKeyPreview(const MSG& msg) {
  // A multi-line edit in a dialog closes the dialog on Escape; this dialog has no cancel, so
  // Escape goes nowhere.
  return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && IsChild(Handle(), msg.hwnd);
}

}  // namespace qzr::ui

namespace qzr {

int ShowAboutDialog(uint8_t& language, const LanguageChosen& chosen) {
  ui::VisualStylesScope styles;
  ui::TForm2 form(language, chosen);
  if (!form.Create()) return kModalCancel;
  return form.ShowModal();
}

}  // namespace qzr
