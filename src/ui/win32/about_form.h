// TForm2, the about dialog: the logo (a link to the maker's page), the description sentence in
// the interface language, two flags that switch it, and OK.
#pragma once
#include "ui/win32/form.h"
#include "ui/win32/resource_ids.h"

namespace qzr::ui {

class TForm2 final : public Form {
 public:
  TForm2(uint8_t& language, const LanguageChosen& chosen) : Form(language, chosen) {}
  bool Create();
  // Empties the sentence, then shows the one of the current interface language.
  void ApplyLanguage() override;

 private:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  bool OnKeyPreview(const MSG& msg) override;
  HWND InitialFocus() const override { return GetDlgItem(Handle(), IDC_BUTTON1); }

  Font boldFont_, logoFont_, sentenceFont_;
};

}  // namespace qzr::ui
