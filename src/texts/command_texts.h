// The texts of the command line: the one message box that sums up each command, the reasons a
// command does nothing, and the list of commands. UTF-8; "%s" and "%d" are filled by Format.
#pragma once
#include <string_view>

#include "texts/texts.h"

namespace qzr::texts {

// The first line of every summary: tweaks saved (switched, set or put back to their default), skipped, refused.
inline constexpr Bilingual kCommandCounts{"%s: %d saved, %d skipped, %d refused.",
                                          "%s: сохранено %d, пропущено %d, отказано %d."};
// Why tweaks were skipped.
inline constexpr Bilingual kSkippedTyped{
    "Skipped %d typed by hand: give each its value with set NAME = VALUE.",
    "Пропущено %d со значением, вводимым вручную: задайте его командой set ИМЯ = ЗНАЧЕНИЕ."};
inline constexpr Bilingual kSkippedNoDefault{"Skipped %d whose definition gives no default.",
                                             "Пропущено %d без значения по умолчанию в описании."};
inline constexpr Bilingual kAlreadyChosen{"%d still as chosen.", "Как выбрано: %d."};
// The refusals: a heading, then one line per tweak ("name: reason"), then how many more.
inline constexpr Bilingual kRefusedHeading{"Refused:", "Отказано:"};
inline constexpr Bilingual kAndMore{"... and %d more.", "... и ещё %d."};
// What the command line named but the listing does not hold.
inline constexpr Bilingual kNoMatch{"No tweak matches \"%s\".", "Ни одна настройка не подходит под \"%s\"."};
inline constexpr Bilingual kValueNotInCodePage{"the value holds characters the system's code page lacks",
                                              "в значении есть символы, которых нет в кодовой странице системы"};
inline constexpr Bilingual kNoSuchTweak{"No tweak is named \"%s\".", "Нет настройки с именем \"%s\"."};
inline constexpr Bilingual kNotListed{"Line %d: no tweak is named \"%s\".", "Строка %d: нет настройки с именем \"%s\"."};
// Profile lines that are no state of a tweak.
inline constexpr Bilingual kBadLine{"Line %d is not understood: %s", "Строка %d не распознана: %s"};
inline constexpr Bilingual kValueForSwitch{"Line %d: \"%s\" is switched on or off, not typed.",
                                           "Строка %d: \"%s\" включается и выключается, значение не вводится."};
inline constexpr Bilingual kSwitchForTyped{"Line %d: \"%s\" takes a value typed by hand, not on or off.",
                                           "Строка %d: для \"%s\" значение вводится вручную, а не on или off."};
// set on a switch.
inline constexpr Bilingual kSetOnSwitch{"\"%s\" is switched with on or off, not typed: on \"%s\"",
                                        "\"%s\" переключается командами on и off, значение не вводится: on \"%s\""};
// save and apply.
inline constexpr Bilingual kProfileWritten{"Profile written: %s (%d tweaks).", "Профиль записан: %s (настроек: %d)."};
inline constexpr Bilingual kProfileNotWritten{"The profile %s could not be written. %s",
                                              "Не удалось записать профиль %s. %s"};
inline constexpr Bilingual kProfileNotRead{"The profile %s could not be read. %s", "Не удалось прочитать профиль %s. %s"};
inline constexpr Bilingual kLeftOut{"Left out, its state cannot be written on a line: %s",
                                    "Не записано, состояние не умещается в строку: %s"};
inline constexpr Bilingual kUnreadable{"Left out, its state cannot be read: %s", "Не записано, состояние не читается: %s"};
inline constexpr Bilingual kNothingToReapply{"Nothing to apply again: every choice still shows.",
                                             "Применять нечего: всё осталось, как выбрано."};
inline constexpr Bilingual kNoTweaks{"The folder holds no tweaks.", "В папке нет настроек."};
// What a command needs and was not given.
inline constexpr Bilingual kMissingMask{"%s: name the tweaks, or give a mask such as \"Explorer*\".",
                                        "%s: укажите имена настроек или маску, например \"Explorer*\"."};
inline constexpr Bilingual kMissingName{"set: name the tweak: set NAME = VALUE", "set: укажите настройку: set ИМЯ = ЗНАЧЕНИЕ"};
inline constexpr Bilingual kMissingValue{"set: \"=\" and the value must follow the name: set NAME = VALUE",
                                         "set: после имени нужны \"=\" и значение: set ИМЯ = ЗНАЧЕНИЕ"};
inline constexpr Bilingual kMissingFile{"%s: name the profile file.", "%s: укажите файл профиля."};
inline constexpr Bilingual kExtraWords{"%s: too many words.", "%s: лишние слова."};
inline constexpr Bilingual kUnclosedQuote{"A quotation mark is not closed.", "Не закрыта кавычка."};
// help, and the answer to a word that is no command.
inline constexpr Bilingual kUnknownCommand{"Unknown command \"%s\".", "Неизвестная команда \"%s\"."};
inline constexpr Bilingual kHelp{
    "Commands of the QZR_TC folder (masks with * and ?; a name with blanks in double quotes):\n"
    "on MASK...  -  switch the tweaks on\n"
    "off MASK...  -  switch the tweaks off\n"
    "default MASK...  -  put the tweaks back to their defaults\n"
    "set NAME = VALUE  -  give a tweak typed by hand its value\n"
    "save FILE [MASK...]  -  write the tweaks' states to a profile\n"
    "apply FILE  -  apply a profile\n"
    "reapply [MASK...]  -  apply again your choices that Windows turned back\n"
    "restart-explorer  -  restart Explorer, for the settings that take effect then\n"
    "help  -  this list\n"
    "A FILE without a folder is kept beside the plugin's settings file.",
    "Команды папки QZR_TC (маски с * и ?; имя с пробелами — в двойных кавычках):\n"
    "on МАСКА...  -  включить настройки\n"
    "off МАСКА...  -  выключить настройки\n"
    "default МАСКА...  -  вернуть значения по умолчанию\n"
    "set ИМЯ = ЗНАЧЕНИЕ  -  задать значение, вводимое вручную\n"
    "save ФАЙЛ [МАСКА...]  -  записать состояния настроек в профиль\n"
    "apply ФАЙЛ  -  применить профиль\n"
    "reapply [МАСКА...]  -  снова применить выбор, который отменила Windows\n"
    "restart-explorer  -  перезапустить Проводник, чтобы вступили в силу настройки, которые его ждут\n"
    "help  -  этот список\n"
    "ФАЙЛ без папки хранится рядом с файлом настроек плагина."};

// restart-explorer: the question first, then what came of it.
inline constexpr Bilingual kRestartExplorerQuestion{
    "Restart Explorer now? Its folder windows close, and the taskbar and the desktop disappear for a moment.",
    "Перезапустить Проводник сейчас? Его окна папок закроются, а панель задач и рабочий стол на миг исчезнут."};
inline constexpr Bilingual kExplorerRestarted{"Explorer was restarted.", "Проводник перезапущен."};
inline constexpr Bilingual kExplorerNotRestarted{"Explorer was not restarted.", "Проводник не перезапущен."};
inline constexpr Bilingual kExplorerNotRestartable{"Explorer could not be restarted. %s",
                                                   "Не удалось перезапустить Проводник. %s"};

// The profile's header, in the file (English in every language: it says what wrote the file).
inline constexpr std::string_view kProfileTitle = "QZR_TC profile";
inline constexpr std::string_view kProfileVersion = "Written by QZR_TC %s on %s.";
inline constexpr std::string_view kProfileFormat =
    "One tweak a line: \"name\" = on, off, default or \"value\". Lines beginning with ; are notes.";

}  // namespace qzr::texts
