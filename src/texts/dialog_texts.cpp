// The language tables of the two dialogs.
#include "texts/dialog_texts.h"

#include "texts/texts.h"

namespace qzr {
namespace {

struct ApplyTable {
  Bilingual Caption{"QZD TC plugin - settings ready", "Применение плагина"};
  Bilingual GroupBox1{"Plugins database tasks", "Операции с базой конфигурации"};
  Bilingual Button2{"Rebuild base", "Перестроить базу"};
  Bilingual Radio0 = texts::kSwitchOn;
  Bilingual Radio1 = texts::kSwitchOff;
  Bilingual SavePlug{"Save now", "Сохранить"};
  Bilingual Button1{"Close", "Закрыть"};
  Bilingual Label60{"Default value:", "По-умолчанию:"};
  Bilingual TabSheet1{"Settings", "Настройки"};
  Bilingual TabSheet2{"About", "О программе"};
  Bilingual Label2{"QZR tweak engine by the QZR_TC team", "Движок настроек QZR - команда QZR_TC"};
};

constexpr ApplyTable kApplyTable{};

constexpr Bilingual kAboutSentence{
    "QZR_TC - simply and powerfull text plugins based system tweaker.",
    "QZR_TC - простой и продвинутый редактор настроек системы на базе текстовых плагинов."};

ApplyTexts Texts(uint8_t language) {
  const ApplyTable& t = kApplyTable;
  auto pick = [language](const Bilingual& b) { return std::string(b.Pick(language)); };
  return ApplyTexts{pick(t.Caption), pick(t.GroupBox1), pick(t.Button2), pick(t.Radio0),
                    pick(t.Radio1),  pick(t.SavePlug),  pick(t.Button1), pick(t.Label60),
                    pick(t.TabSheet1), pick(t.TabSheet2), pick(t.Label2)};
}

}  // namespace

ApplyTexts ApplyDesignTexts() { return Texts(kRussian); }

void ApplyLanguage(ApplyTexts& texts, uint8_t language) {
  if (language == kEnglish || language == kRussian) texts = Texts(language);
}

void ApplyLanguage(AboutTexts& texts, uint8_t language) {
  texts.Memo1.clear();
  texts.Memo1 = kAboutSentence.Pick(language);
}

}  // namespace qzr
