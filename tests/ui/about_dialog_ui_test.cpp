// The about dialog, shown for real and driven by control ids from a second thread.
#include "texts/dialog_texts.h"
#include "ui_fixture.h"

namespace qzr::test {
namespace {

const std::string kEnglishSentence = "QZR_TC - simply and powerfull text plugins based system tweaker.";
const std::string kRussianSentence =
    "QZR_TC - простой и продвинутый редактор настроек системы на базе текстовых плагинов.";

class AboutDialogUi : public UiTest {
 protected:
  int Show(const std::function<void(DialogDriver&, HWND)>& script) {
    return RunDialog([] { return ShowAboutDialog(State().Language); },
                     [&](DialogDriver& d) {
                       HWND form = d.WaitForForm(IDC_MEMO1);
                       d.WaitForFocus(d.Control(form, IDC_BUTTON1));
                       script(d, form);
                     });
  }
};

TEST_F(AboutDialogUi, ShowsTheSentenceOfTheLanguageAndTheFlagsSwitchIt) {
  State().Language = kEnglish;
  uint8_t afterRussianFlag = 99;
  int result = Show([&](DialogDriver& d, HWND form) {
    d.ExpectText(form, "QZR_TC", "caption");
    RECT client;
    GetClientRect(form, &client);
    d.Expect(client.right == 234 && client.bottom == 178, "client area 234 x 178");
    HWND memo = d.Control(form, IDC_MEMO1);
    d.ExpectText(memo, kEnglishSentence, "English");
    d.Click(d.Control(form, IDC_SPEEDBUTTON3));
    afterRussianFlag = State().Language;
    d.ExpectText(memo, kRussianSentence, "after the Russian flag");
    d.ExpectText(form, "QZR_TC", "the caption does not change");
    d.Click(d.Control(form, IDC_SPEEDBUTTON2));
    d.ExpectText(memo, kEnglishSentence, "after the US flag");
    d.Click(d.Control(form, IDC_SPEEDBUTTON3));
    d.Click(d.Control(form, IDC_BUTTON1));
    d.WaitUntilClosed(form);
  });
  EXPECT_EQ(result, kModalOk);
  EXPECT_EQ(afterRussianFlag, kRussian);
  EXPECT_EQ(State().Language, kRussian) << "a later dialog opens in Russian";
}

TEST_F(AboutDialogUi, AnotherLanguageValueLeavesTheSentenceEmpty) {
  State().Language = 5;
  Show([](DialogDriver& d, HWND form) {
    d.ExpectText(d.Control(form, IDC_MEMO1), "", "memo");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
}

TEST_F(AboutDialogUi, EscapeDoesNotCloseItTheCloseBoxDoes) {
  State().Language = kRussian;
  int result = Show([](DialogDriver& d, HWND form) {
    HWND memo = d.Control(form, IDC_MEMO1);
    d.PostKey(memo, VK_ESCAPE);
    // Posted after the key, so handled after it: the dialog is still there to switch.
    d.PostClick(d.Control(form, IDC_SPEEDBUTTON2));
    d.WaitUntil([&] { return d.Text(memo) == Wide(kEnglishSentence); }, "the flag after Escape");
    d.Expect(d.Visible(form), "Escape does not close the about dialog");
    PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    d.WaitUntilClosed(form);
  });
  EXPECT_EQ(result, kModalCancel);
}

TEST_F(AboutDialogUi, TheLogoOpensTheMakersPage) {
  HWND shown = nullptr;
  Show([&](DialogDriver& d, HWND form) {
    shown = form;
    d.Click(d.Control(form, IDC_LABEL1));
    d.Expect(d.Visible(form), "the dialog stays open");
    d.Click(d.Control(form, IDC_BUTTON1));
  });
  ASSERT_EQ(ui_.opened.size(), 1u);
  EXPECT_EQ(ui_.opened[0].first, std::string(texts::kWebAddress));
  EXPECT_EQ(ui_.opened[0].second, shown) << "the dialog is the parent window";
}

}  // namespace
}  // namespace qzr::test
