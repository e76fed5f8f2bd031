// The apply dialog, shown for real and driven by control ids from a second thread.
#include <windows.h>
#include <commctrl.h>

#include "texts/dialog_texts.h"
#include "ui_fixture.h"

namespace qzr::test {
namespace {

ApplyDialogState OnOffTweak() {
  ApplyDialogState s;
  s.Memo = "Show file extensions";
  s.RadioVisible = true;
  s.RadioIndex = 0;
  s.Value = "1";
  s.DefVal = "NO";
  return s;
}

ApplyDialogState TypedTweak() {
  ApplyDialogState s;
  s.Memo = "Menu show delay";
  s.ValueVisible = true;
  s.Value = "400";
  s.DefVal = "400";
  return s;
}

ApplyTexts TextsOf(uint8_t language) {
  ApplyTexts t = ApplyDesignTexts();
  ApplyLanguage(t, language);
  return t;
}

class ApplyDialogUi : public UiTest {
 protected:
  int Show(const ApplyDialogState& state, const std::function<void(DialogDriver&, HWND)>& script) {
    return RunDialog([&] { return ShowApplyDialog(state, actions_, State().Language); },
                     [&](DialogDriver& d) {
                       HWND form = d.WaitForForm(IDC_SAVEPLUG);
                       d.WaitForFocus(d.Control(form, IDC_DEFVAL));
                       script(d, form);
                     });
  }

  // Every text of the language table, as the dialog shows it.
  static void ExpectTexts(DialogDriver& d, HWND form, const ApplyTexts& t, const std::string& when) {
    d.ExpectText(form, t.Caption, when + ", caption");
    const std::pair<int, const std::string*> items[] = {
        {IDC_GROUPBOX1, &t.GroupBox1}, {IDC_BUTTON2, &t.Button2}, {IDC_RADIO0, &t.Radio0},
        {IDC_RADIO1, &t.Radio1},       {IDC_SAVEPLUG, &t.SavePlug}, {IDC_BUTTON1, &t.Button1},
        {IDC_LABEL60, &t.Label60},     {IDC_LABEL2, &t.Label2}};
    for (const auto& [id, text] : items) d.ExpectText(d.Control(form, id), *text, when + ", control " + std::to_string(id));
    HWND tab = d.Control(form, IDC_PAGECONTROL1);
    d.Expect(d.TabText(tab, 0) == Wide(t.TabSheet1), when + ", first tab");
    d.Expect(d.TabText(tab, 1) == Wide(t.TabSheet2), when + ", second tab");
  }

  FakeActions actions_;
};

TEST_F(ApplyDialogUi, ShowsWhatItWasFilledWith) {
  int result = Show(OnOffTweak(), [](DialogDriver& d, HWND form) {
    d.ExpectText(d.Control(form, IDC_MEMO1), "Show file extensions", "memo");
    d.ExpectText(d.Control(form, IDC_DEFVAL), "NO", "default");
    d.Expect(d.Visible(d.Control(form, IDC_RADIO0)) && d.Visible(d.Control(form, IDC_RADIO1)), "radio shown");
    d.Expect(!d.Visible(d.Control(form, IDC_VALUE)), "value box hidden");
    d.Expect(d.Checked(d.Control(form, IDC_RADIO0)) && !d.Checked(d.Control(form, IDC_RADIO1)), "item 0 selected");
    d.Expect(d.Visible(d.Control(form, IDC_TABSHEET1)) && !d.Visible(d.Control(form, IDC_TABSHEET2)),
             "opens on the settings page");
    RECT client;
    GetClientRect(form, &client);
    d.Expect(client.right == 516 && client.bottom == 288, "client area 516 x 288");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
  EXPECT_EQ(result, kModalCancel);
  EXPECT_TRUE(actions_.saves.empty());

  Show(TypedTweak(), [](DialogDriver& d, HWND form) {
    d.Expect(!d.Visible(d.Control(form, IDC_RADIO0)), "radio hidden");
    d.Expect(d.Visible(d.Control(form, IDC_VALUE)), "value box shown");
    d.ExpectText(d.Control(form, IDC_VALUE), "400", "value");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
}

TEST_F(ApplyDialogUi, SaveCallsTheActionWithTheChoiceAndClosesWithOk) {
  int result = Show(OnOffTweak(), [](DialogDriver& d, HWND form) {
    d.Click(d.Control(form, IDC_RADIO1));
    d.Click(d.Control(form, IDC_SAVEPLUG));
    d.WaitUntilClosed(form);
  });
  EXPECT_EQ(result, kModalOk);
  ASSERT_EQ(actions_.saves.size(), 1u);
  EXPECT_EQ(actions_.saves[0].first, 1);
}

TEST_F(ApplyDialogUi, ASaveThatFailsShowsTheMessageAndTheDialogStaysOpen) {
  actions_.failingSaves = 1;
  std::wstring message;
  int result = Show(TypedTweak(), [&](DialogDriver& d, HWND form) {
    d.SetText(d.Control(form, IDC_VALUE), L" Привет 1 ");
    d.PostClick(d.Control(form, IDC_SAVEPLUG));
    HWND box = d.WaitForMessageBox(form);
    message = d.MessageText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    d.WaitUntilClosed(box);
    d.Expect(d.Visible(form), "the dialog stays open after the error");
    d.Click(d.Control(form, IDC_SAVEPLUG));
    d.WaitUntilClosed(form);
  });
  EXPECT_EQ(result, kModalOk);
  EXPECT_EQ(message, L"Unable to write to C:\\settings.ini");
  ASSERT_EQ(actions_.saves.size(), 2u);
  EXPECT_EQ(actions_.saves[0].second, " Привет 1 ") << "typed text as UTF-8, blanks kept";
  EXPECT_EQ(actions_.saves[1], actions_.saves[0]);
}

TEST_F(ApplyDialogUi, EscapeEnterCloseAndTheCloseBoxCloseWithoutSaving) {
  using Way = std::function<void(DialogDriver&, HWND)>;
  const Way escape = [](DialogDriver& d, HWND form) { d.PostKey(d.Control(form, IDC_DEFVAL), VK_ESCAPE); };
  const Way enterInValue = [](DialogDriver& d, HWND form) { d.PostKey(d.Control(form, IDC_VALUE), VK_RETURN); };
  const Way closeButton = [](DialogDriver& d, HWND form) { d.PostClick(d.Control(form, IDC_BUTTON1)); };
  const Way closeBox = [](DialogDriver&, HWND form) { PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0); };
  const std::pair<const char*, Way> ways[] = {
      {"Escape", escape}, {"Enter in the value box", enterInValue}, {"Close", closeButton}, {"close box", closeBox}};
  for (const auto& [name, how] : ways) {
    SCOPED_TRACE(name);
    int result = Show(TypedTweak(), [&](DialogDriver& d, HWND form) {
      how(d, form);
      d.WaitUntilClosed(form);
    });
    EXPECT_EQ(result, kModalCancel);
  }
  EXPECT_TRUE(actions_.saves.empty());
}

TEST_F(ApplyDialogUi, TheLanguageIsAppliedWhenTheDialogOpens) {
  State().Language = kEnglish;
  Show(OnOffTweak(), [](DialogDriver& d, HWND form) {
    ExpectTexts(d, form, TextsOf(kEnglish), "English");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
  State().Language = kRussian;
  Show(OnOffTweak(), [](DialogDriver& d, HWND form) {
    ExpectTexts(d, form, TextsOf(kRussian), "Russian");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
  State().Language = 7;
  Show(OnOffTweak(), [](DialogDriver& d, HWND form) {
    ExpectTexts(d, form, ApplyDesignTexts(), "another language value keeps the design texts");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
}

TEST_F(ApplyDialogUi, TheFlagsSwitchEveryTextAndKeepTheChoiceAndTheDefault) {
  State().Language = kRussian;
  uint8_t afterUsFlag = 99;
  Show(OnOffTweak(), [&](DialogDriver& d, HWND form) {
    d.Click(d.Control(form, IDC_RADIO1));
    d.Click(d.Control(form, IDC_SPEEDBUTTON2));
    afterUsFlag = State().Language;
    ExpectTexts(d, form, TextsOf(kEnglish), "after the US flag");
    d.Expect(d.Checked(d.Control(form, IDC_RADIO1)) && !d.Checked(d.Control(form, IDC_RADIO0)),
             "the choice is kept");
    d.ExpectText(d.Control(form, IDC_DEFVAL), "NO", "the default is left alone");
    d.Click(d.Control(form, IDC_SPEEDBUTTON3));
    ExpectTexts(d, form, TextsOf(kRussian), "after the Russian flag");
    d.Expect(d.Checked(d.Control(form, IDC_RADIO1)), "the choice is still kept");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
  EXPECT_EQ(afterUsFlag, kEnglish);
  EXPECT_EQ(State().Language, kRussian) << "the flags set the plugin's language";
  EXPECT_TRUE(actions_.saves.empty());
}

TEST_F(ApplyDialogUi, RebuildCallsTheActionAndTheDialogStaysOpen) {
  actions_.failingRebuilds = 1;
  std::wstring message;
  int result = Show(OnOffTweak(), [&](DialogDriver& d, HWND form) {
    HWND tab = d.Control(form, IDC_PAGECONTROL1);
    d.Send(tab, TCM_SETCURFOCUS, 1);
    d.WaitUntil([&] { return d.Visible(d.Control(form, IDC_TABSHEET2)); }, "the about page");
    d.Expect(!d.Visible(d.Control(form, IDC_TABSHEET1)), "one page at a time");
    d.PostClick(d.Control(form, IDC_BUTTON2));
    HWND box = d.WaitForMessageBox(form);
    message = d.MessageText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    d.WaitUntilClosed(box);
    d.Click(d.Control(form, IDC_BUTTON2));
    d.Expect(d.Visible(form), "the dialog stays open after the rebuild");
    d.Send(tab, TCM_SETCURFOCUS, 0);
    d.WaitUntil([&] { return d.Visible(d.Control(form, IDC_TABSHEET1)); }, "the settings page");
    d.Expect(d.Checked(d.Control(form, IDC_RADIO0)), "the settings page is unchanged");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
  EXPECT_EQ(result, kModalCancel);
  EXPECT_EQ(actions_.rebuilds, 2);
  EXPECT_EQ(message, L"Cannot create file \"C:\\plugins\\a.tweak\". Access is denied.");
}

TEST_F(ApplyDialogUi, TheLogoLightsUpUnderThePointerAndTheWebLabelOpensTheMakersPage) {
  Show(OnOffTweak(), [](DialogDriver& d, HWND form) {
    d.Send(d.Control(form, IDC_PAGECONTROL1), TCM_SETCURFOCUS, 1);
    HWND logo = d.Control(form, IDC_LABEL3), web = d.Control(form, IDC_LABEL4);
    d.WaitUntil([&] { return d.Visible(logo); }, "the about page");
    auto colour = [&](HWND label) { return static_cast<COLORREF>(d.Send(label, QZR_LABEL_GETCOLOR)); };
    // The motion the X server reports for a warp, and the leave Wine's tracking derives from it,
    // can lag far behind on a busy machine: the messages the labels would get are posted too, so
    // each label sees the pointer arrive and go.
    auto pointTo = [](HWND label, HWND left) {
      RECT r;
      GetWindowRect(label, &r);
      SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      if (left) PostMessageW(left, WM_MOUSELEAVE, 0, 0);
      PostMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
    };
    d.Expect(colour(logo) == RGB(255, 0, 0), "the logo is red");
    d.Expect(colour(web) == RGB(0, 0, 0), "the web label is black");
    pointTo(logo, nullptr);
    d.WaitUntil([&] { return colour(logo) == RGB(0, 128, 0); }, "the logo to turn green under the pointer");
    pointTo(web, logo);
    d.WaitUntil([&] { return colour(logo) == RGB(255, 0, 0); }, "the logo to turn red again");
    d.WaitUntil([&] { return colour(web) == RGB(255, 0, 0); }, "the web label to turn red under the pointer");
    SetCursorPos(0, 0);
    PostMessageW(web, WM_MOUSELEAVE, 0, 0);
    d.WaitUntil([&] { return colour(web) == RGB(0, 0, 0); }, "the web label to turn black again");
    d.Click(web);
    d.Expect(d.Visible(form), "the dialog stays open");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
  ASSERT_EQ(ui_.opened.size(), 1u);
  EXPECT_EQ(ui_.opened[0].first, std::string(texts::kWebAddress));
  EXPECT_EQ(ui_.opened[0].second, nullptr) << "no parent window";
}

}  // namespace
}  // namespace qzr::test
