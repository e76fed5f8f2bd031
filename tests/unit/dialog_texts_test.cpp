// The language tables of the two dialogs and what each interface language makes of them.
#include "texts/dialog_texts.h"

#include "ui/dialogs.h"
#include "base/errors.h"
#include "plugin/plugin_state.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

const ApplyTexts kEnglishTexts{"QZD TC plugin - settings ready", "Plugins database tasks", "Rebuild base",
                               "Yes", "No", "Save now", "Close", "Default value:", "Settings", "About",
                               "QZR tweak engine by the QZR_TC team"};
const ApplyTexts kRussianTexts{"Применение плагина", "Операции с базой конфигурации", "Перестроить базу",
                               "Да", "Нет", "Сохранить", "Закрыть", "По-умолчанию:", "Настройки",
                               "О программе", "Движок настроек QZR - команда QZR_TC"};

TEST(ApplyDialogTexts, TheDialogIsMadeWithTheRussianTexts) { EXPECT_EQ(ApplyDesignTexts(), kRussianTexts); }

TEST(ApplyDialogTexts, EachLanguageSetsEveryText) {
  ApplyTexts texts = ApplyDesignTexts();
  ApplyLanguage(texts, kEnglish);
  EXPECT_EQ(texts, kEnglishTexts);
  ApplyLanguage(texts, kRussian);
  EXPECT_EQ(texts, kRussianTexts);
  ApplyLanguage(texts, kEnglish);
  EXPECT_EQ(texts, kEnglishTexts);
}

TEST(ApplyDialogTexts, OtherLanguageValuesChangeNothing) {
  for (uint8_t language : {2, 7, 255}) {
    ApplyTexts texts = ApplyDesignTexts();
    ApplyLanguage(texts, language);
    EXPECT_EQ(texts, kRussianTexts) << int(language);
    ApplyLanguage(texts, kEnglish);
    ApplyLanguage(texts, language);
    EXPECT_EQ(texts, kEnglishTexts) << int(language);
  }
}

TEST(AboutDialogTexts, TheSentenceOfEachLanguage) {
  AboutTexts texts;
  ApplyLanguage(texts, kEnglish);
  EXPECT_EQ(texts.Memo1, "QZR_TC - simply and powerfull text plugins based system tweaker.");
  ApplyLanguage(texts, kRussian);
  EXPECT_EQ(texts.Memo1, "QZR_TC - простой и продвинутый редактор настроек системы на базе текстовых плагинов.");
  ApplyLanguage(texts, 2);
  EXPECT_EQ(texts.Memo1, "") << "another language value empties the sentence";
}

TEST(DialogActions, AnErrorBecomesTheMessageToShow) {
  EXPECT_EQ(RunDialogAction([] {}), std::nullopt);
  EXPECT_EQ(RunDialogAction([] { RaiseUnableToWrite("C:\\a.ini"); }), "Unable to write to C:\\a.ini");
  EXPECT_EQ(RunDialogAction([] { throw std::invalid_argument("bad"); }), "bad");
  EXPECT_TRUE(RunDialogAction([] { throw 42; }).has_value()) << "nothing may escape a window procedure";
}

}  // namespace
}  // namespace qzr::test
