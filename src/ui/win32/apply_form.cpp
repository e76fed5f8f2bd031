// The apply dialog's window, controls and event handlers.
#include "ui/win32/apply_form.h"

#include <commctrl.h>

#include "platform/platform.h"
#include "texts/texts.h"
#include "ui/win32/graphic_controls.h"
#include "ui/win32/module_resources.h"
#include "ui/win32/resource_ids.h"

namespace qzr::ui {
namespace {

constexpr int kClientWidth = 516, kClientHeight = 288;
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 128, 0), kBlack = RGB(0, 0, 0);
constexpr int kSaveWidth = 81, kSaveHeight = 73;  // the Save button's design size
constexpr int kFlagWidth = 28, kFlagHeight = 16;

void SetTabText(HWND tab, int index, const std::string& text) {
  std::wstring wide = Wide(text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = wide.data();
  SendMessageW(tab, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

bool TForm1::Create() { return Form::Create(Wide(texts_.Caption), kClientWidth, kClientHeight); }

void TForm1::OnCreate() {
  defaultFont_ = MakeFont(fonts::kDefault, scale_);
  boldFont_ = MakeFont(fonts::kDefaultBold, scale_);
  closeFont_ = MakeFont(fonts::kCloseButton, scale_);
  memoFont_ = MakeFont(fonts::kTweakName, scale_);
  logoFont_ = MakeFont(fonts::kBigLogo, scale_);
  creditFont_ = MakeFont(fonts::kCredit, scale_);
  webFont_ = MakeFont(fonts::kWebLabel, scale_);

  // PageControl1 fills the window; its pages fill the tab control's display area.
  HWND tab = AddControl(Handle(), IDC_PAGECONTROL1, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, 0,
                        Px(0, 0, kClientWidth, kClientHeight), defaultFont_.get());
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  RECT area;
  GetClientRect(tab, &area);
  TabCtrl_AdjustRect(tab, FALSE, &area);
  pages_[0] = AddPage(IDC_TABSHEET1, area);
  pages_[1] = AddPage(IDC_TABSHEET2, area);
  int width = Unscale(area.right - area.left), height = Unscale(area.bottom - area.top);
  CreateSettingsPage(pages_[0], width, height);
  CreateAboutPage(pages_[1], width, height);
  ShowTexts();
  FormCreate();
}

void TForm1::CreateSettingsPage(HWND page, int w, int h) {
  // Banner in a frame, with the flags beside it.
  int flagsLeft = w - 4 - 2 * kFlagWidth - 2;
  bevel1_ = Px(4, 4, flagsLeft - 8, 24);
  std::wstring banner = Wide(texts::kBanner);
  bannerFont_ = FitFont(fonts::kTerminal, scale_, banner, scale_(flagsLeft - 8 - 12));
  int bannerHeight = Unscale(TextSize(bannerFont_.get(), banner).cy);
  CreateLabel(page, {IDC_LABEL5, Px(10, 4 + (24 - bannerHeight) / 2, flagsLeft - 20, bannerHeight), bannerFont_.get(),
                     GetSysColor(COLOR_WINDOWTEXT)},
              banner);
  AddFlagButtons(page, Px(flagsLeft, 8, kFlagWidth, kFlagHeight),
                 Px(flagsLeft + kFlagWidth + 2, 8, kFlagWidth, kFlagHeight));

  HWND memo = AddControl(page, IDC_MEMO1, L"EDIT", L"",
                         ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
                             WS_TABSTOP,
                         WS_EX_CLIENTEDGE, Px(4, 34, w - 8, 62), memoFont_.get());
  SetEditText(memo, Wide(state_.Memo));

  // The on/off choice, a radio group of two columns; the typed value takes the same place.
  int top = 102, groupWidth = w - 8 - kSaveWidth - 6, column = (groupWidth - 24) / 2;
  AddControl(page, IDC_RADIO, L"BUTTON", L"", BS_GROUPBOX | WS_GROUP, 0, Px(4, top, groupWidth, kSaveHeight),
             defaultFont_.get());
  HWND radio0 = AddControl(page, IDC_RADIO0, L"BUTTON", L"", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0,
                           Px(16, top + 28, column, 20), defaultFont_.get());
  HWND radio1 = AddControl(page, IDC_RADIO1, L"BUTTON", L"", BS_AUTORADIOBUTTON, 0,
                           Px(16 + column, top + 28, column, 20), defaultFont_.get());
  SendMessageW(state_.RadioIndex == 0 ? radio0 : radio1, BM_SETCHECK,
               state_.RadioIndex == 0 || state_.RadioIndex == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
  HWND value = AddControl(page, IDC_VALUE, L"EDIT", Wide(state_.Value), ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                          WS_EX_CLIENTEDGE, Px(4, top + 26, groupWidth, 21), defaultFont_.get());
  for (HWND radio : {Item(IDC_RADIO), radio0, radio1}) ShowWindow(radio, state_.RadioVisible ? SW_SHOWNA : SW_HIDE);
  ShowWindow(value, state_.ValueVisible ? SW_SHOWNA : SW_HIDE);
  AddControl(page, IDC_SAVEPLUG, L"BUTTON", L"", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0,
             Px(w - 4 - kSaveWidth, top, kSaveWidth, kSaveHeight), boldFont_.get());

  // The default row and its rule.
  CreateLabel(page, {IDC_LABEL60, Px(8, 185, 96, 16), defaultFont_.get(), GetSysColor(COLOR_WINDOWTEXT)}, L"");
  AddControl(page, IDC_DEFVAL, L"EDIT", Wide(state_.DefVal), ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
             WS_EX_CLIENTEDGE, Px(108, 182, w - 112, 21), defaultFont_.get());
  bevel2_ = Px(4, 209, w - 8, 2);
  AddControl(page, IDC_BUTTON1, L"BUTTON", L"", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, Px(4, h - 4 - 28, w - 8, 28),
             closeFont_.get());
}

void TForm1::CreateAboutPage(HWND page, int w, int h) {
  // The logo: the red text over the window-text one, 2 pixels right and 4 down.
  std::wstring logo = Wide(texts::kLogo);
  SIZE size = TextSize(logoFont_.get(), logo);
  int logoWidth = Unscale(size.cx) + 2, logoHeight = Unscale(size.cy);
  int x = (w - logoWidth - 2) / 2;
  CreateLabel(page, {IDC_LABEL1, Px(x, 0, logoWidth, logoHeight), logoFont_.get(), GetSysColor(COLOR_WINDOWTEXT)},
              logo);
  CreateLabel(page, {IDC_LABEL3, Px(x + 2, 4, logoWidth, logoHeight), logoFont_.get(), kRed}, logo);

  int creditTop = logoHeight + 2;
  CreateLabel(page, {IDC_LABEL2, Px(4, creditTop, w - 8, 30), creditFont_.get(), GetSysColor(COLOR_WINDOWTEXT),
                     LabelAlign::Center},
              L"");
  std::wstring web = Wide(texts::kWebLabel);
  SIZE webSize = TextSize(webFont_.get(), web);
  int webWidth = Unscale(webSize.cx) + 2, webHeight = Unscale(webSize.cy);
  CreateLabel(page, {IDC_LABEL4, Px((w - webWidth) / 2, creditTop + 34, webWidth, webHeight), webFont_.get(), kBlack,
                     LabelAlign::Left, true},
              web);

  int groupTop = creditTop + 34 + webHeight + 8;
  AddControl(page, IDC_GROUPBOX1, L"BUTTON", L"", BS_GROUPBOX, 0, Px(4, groupTop, w - 8, h - groupTop - 4),
             defaultFont_.get());
  AddControl(page, IDC_BUTTON2, L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP, 0,
             Px((w - 160) / 2, groupTop + (h - groupTop - 4 - 26) / 2 + 4, 160, 26), defaultFont_.get());
}

// The dialog opens on the settings page.
void TForm1::FormCreate() { ShowPage(0); }

void TForm1::ShowPage(int index) {
  TabCtrl_SetCurSel(GetDlgItem(Handle(), IDC_PAGECONTROL1), index);
  ShowWindow(pages_[index], SW_SHOWNA);
  ShowWindow(pages_[1 - index], SW_HIDE);
}

HWND TForm1::Item(int id) const {
  for (HWND page : pages_)
    if (HWND item = GetDlgItem(page, id)) return item;
  return GetDlgItem(Handle(), id);
}

void TForm1::ShowTexts() {
  SetWindowTextW(Handle(), Wide(texts_.Caption).c_str());
  const std::pair<int, const std::string*> items[] = {
      {IDC_GROUPBOX1, &texts_.GroupBox1}, {IDC_BUTTON2, &texts_.Button2}, {IDC_RADIO0, &texts_.Radio0},
      {IDC_RADIO1, &texts_.Radio1},       {IDC_SAVEPLUG, &texts_.SavePlug}, {IDC_BUTTON1, &texts_.Button1},
      {IDC_LABEL60, &texts_.Label60},     {IDC_LABEL2, &texts_.Label2}};
  for (const auto& [id, text] : items) SetWindowTextW(Item(id), Wide(*text).c_str());
  HWND tab = GetDlgItem(Handle(), IDC_PAGECONTROL1);
  SetTabText(tab, 0, texts_.TabSheet1);
  SetTabText(tab, 1, texts_.TabSheet2);
}

void TForm1::ApplyLanguage() {
  qzr::ApplyLanguage(texts_, Language());
  ShowTexts();
}

bool TForm1::OnKeyPreview(const MSG& msg) {
  // Escape closes the dialog from any of its controls, before the control sees the key.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && (msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd))) {
    SetModalResult(kModalCancel);
    return true;
  }
  return false;
}

void TForm1::OnCommand(int id, int code) {
  switch (id) {
    case IDC_SAVEPLUG:
      if (code == BN_CLICKED) saveplugClick();
      break;
    case IDC_BUTTON1:
      if (code == BN_CLICKED) SetModalResult(kModalCancel);
      break;
    case IDC_BUTTON2:
      if (code == BN_CLICKED) Button2Click();
      break;
    case IDC_LABEL3:  // the red logo turns green under the pointer
      Highlight(Item(IDC_LABEL3), code, kGreen, kRed);
      break;
    case IDC_LABEL4:  // the web label turns red under the pointer and opens the maker's page
      Highlight(Item(IDC_LABEL4), code, kRed, kBlack);
      FollowLink(code, nullptr);
      break;
    default:
      break;
  }
}

void TForm1::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_PAGECONTROL1 && header.code == TCN_SELCHANGE)
    ShowPage(TabCtrl_GetCurSel(header.hwndFrom) == 1 ? 1 : 0);
}

void TForm1::OnPaintPage(int pageId, HDC dc) {
  if (pageId != IDC_TABSHEET1) return;
  RECT frame = bevel1_, rule = bevel2_;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  DrawEdge(dc, &rule, EDGE_ETCHED, BF_TOP);
}

void TForm1::saveplugClick() {
  int radio = -1;
  if (SendMessageW(Item(IDC_RADIO0), BM_GETCHECK, 0, 0) == BST_CHECKED) radio = 0;
  if (SendMessageW(Item(IDC_RADIO1), BM_GETCHECK, 0, 0) == BST_CHECKED) radio = 1;
  std::string typed = Utf8(WindowText(Item(IDC_VALUE)));
  if (auto error = RunDialogAction([&] { actions_.Save(radio, typed); }))
    ShowError(*error);
  else
    SetModalResult(kModalOk);
}

void TForm1::Button2Click() {
  if (auto error = RunDialogAction([&] { actions_.Rebuild(); })) ShowError(*error);
}

}  // namespace qzr::ui

namespace qzr {

int ShowApplyDialog(const ApplyDialogState& state, ApplyDialogActions& actions, uint8_t& language,
                    const LanguageChosen& chosen) {
  ui::VisualStylesScope styles;
  ui::TForm1 form(state, actions, language, chosen);
  if (!form.Create()) return kModalCancel;
  return form.ShowModal();
}

}  // namespace qzr
