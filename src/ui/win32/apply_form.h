// TForm1, the apply dialog: the tweak's name, its on/off choice or typed value, its default, Save
// and Close on the settings page; the logo, the credit line, the web label and the rebuild button
// on the about page; two flags that switch the interface language.
#pragma once
#include "texts/dialog_texts.h"
#include "ui/dialogs.h"
#include "ui/win32/form.h"
#include "ui/win32/resource_ids.h"

namespace qzr::ui {

class TForm1 final : public Form {
 public:
  TForm1(const ApplyDialogState& state, ApplyDialogActions& actions, uint8_t& language,
         const LanguageChosen& chosen)
      : Form(language, chosen), state_(state), actions_(actions) {}
  bool Create();
  // Sets the texts of the current interface language; another language value changes nothing.
  void ApplyLanguage() override;

 private:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& header) override;
  bool OnKeyPreview(const MSG& msg) override;
  void OnPaintPage(int pageId, HDC dc) override;
  HWND DefaultButton() const override { return Item(IDC_BUTTON1); }
  HWND InitialFocus() const override { return Item(IDC_DEFVAL); }

  void CreateSettingsPage(HWND page, int width, int height);
  void CreateAboutPage(HWND page, int width, int height);
  void FormCreate();
  void saveplugClick();
  void Button2Click();
  void ShowPage(int index);
  void ShowTexts();
  HWND Item(int id) const;

  const ApplyDialogState& state_;
  ApplyDialogActions& actions_;
  ApplyTexts texts_ = ApplyDesignTexts();
  HWND pages_[2] = {};
  RECT bevel1_{}, bevel2_{};
  Font defaultFont_, boldFont_, closeFont_, bannerFont_, memoFont_, logoFont_, creditFont_, webFont_;
};

}  // namespace qzr::ui
