// The texts of the apply dialog and the about dialog, and what each interface language makes of
// them. Texts are UTF-8; the dialogs show them through the wide API.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "texts/texts.h"

namespace qzr {

// Every text of the apply dialog that follows the interface language.
struct ApplyTexts {
  std::string Caption;    // the window caption
  std::string GroupBox1;  // frame of the database tasks on the about page
  std::string Button2;    // the rebuild button
  std::string Radio0;     // "on"
  std::string Radio1;     // "off"
  std::string SavePlug;
  std::string Button1;    // Close
  std::string Label60;    // caption of the default row
  std::string TabSheet1;  // settings page tab
  std::string TabSheet2;  // about page tab
  std::string Label2;     // the credit line
  bool operator==(const ApplyTexts&) const = default;
};

// The texts the apply dialog is made with, before its language handler runs: the Russian ones.
ApplyTexts ApplyDesignTexts();

// Sets every text for English (0) or Russian (1); any other language value changes nothing.
void ApplyLanguage(ApplyTexts& texts, uint8_t language);

// The one text of the about dialog that follows the interface language.
struct AboutTexts {
  std::string Memo1;  // the description sentence
  bool operator==(const AboutTexts&) const = default;
};

// Empties the description, then sets the sentence of English (0) or Russian (1); any other
// language value leaves it empty.
void ApplyLanguage(AboutTexts& texts, uint8_t language);

namespace texts {

// Texts the language handlers never touch.
inline constexpr std::string_view kBanner = "QZR TC - power of advanced system tweaking directly from TC";
inline constexpr std::string_view kLogo = "QZR TC";
inline constexpr std::string_view kAboutCaption = "QZR_TC";
inline constexpr std::string_view kAboutOk = "OK";
// The maker's web page, opened by the web label of the apply dialog and the logo of the about dialog.
inline constexpr std::string_view kWebAddress = "https://github.com/qzr-tc/qzr_tc";
// What the web label shows.
inline constexpr std::string_view kWebLabel = "github.com/qzr-tc/qzr_tc";

// The two choices of a tweak switched on or off, as the dialog's buttons and the panel's State
// column show them.
inline constexpr Bilingual kSwitchOn{"Yes", "Да"};
inline constexpr Bilingual kSwitchOff{"No", "Нет"};

// The default row of a tweak with an on/off choice: whether the default is the on state.
inline constexpr Bilingual kDefaultYes{"YES", "ДА"};
inline constexpr Bilingual kDefaultNo{"NO", "НЕТ"};

}  // namespace texts
}  // namespace qzr
