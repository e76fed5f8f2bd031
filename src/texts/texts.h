// The system's own texts. Texts that exist in two languages are chosen by the interface
// language; texts are held as UTF-8 here and turned into Windows-1251 bytes for the files the
// system writes, or shown as UTF-8 through the wide API.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace qzr {

// Interface language values; any other value selects no text.
inline constexpr uint8_t kEnglish = 0;
inline constexpr uint8_t kRussian = 1;

struct Bilingual {
  std::string_view English;
  std::string_view Russian;  // UTF-8
  // The text of this language as UTF-8; empty for a language value other than 0 or 1.
  std::string_view Pick(uint8_t language) const;
  // The same as Windows-1251 bytes, as files carry it.
  std::string PickCp1251(uint8_t language) const;
};

// UTF-8 (ASCII and Cyrillic) to Windows-1251 bytes; other characters become "?".
std::string Utf8ToCp1251(std::string_view utf8);
// Windows-1251 bytes to UTF-8.
std::string Cp1251ToUtf8(std::string_view cp1251);

namespace texts {

inline constexpr std::string_view kRootName = "QZR_TC - plugin for system tweaking";
inline constexpr std::string_view kNeedWriteAccess = "QZR_TC: I must have write access to %s";
inline constexpr std::string_view kCaption = "QZR_TC";

// The plugin database: the description of a definition without a name, and the first two lines
// of each folder's directory.txt (the first always in Russian).
inline constexpr Bilingual kPluginWithErrors{"VLK Plugin with errors.", "Плагин VLK с ошибками."};
inline constexpr std::string_view kValidFolderNote = "Этот каталог содержит плагины VLK";
inline constexpr std::string_view kTrashFolderNote =
    "Здесь размешены плагины для другой ОС, а так же плагины содержащие ошибки.";
inline constexpr std::string_view kMakerNotice = "Made by QZR_TC - plugin for system tweaking";

}  // namespace texts
}  // namespace qzr
