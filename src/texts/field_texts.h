// The texts of the panel's columns: the headers of the default view, the store names and the
// name a registry value without a name goes by. The fields' own names are not here: hosts keep
// them in their settings, so they are English in both languages (plugin/content_fields.cpp).
#pragma once
#include <string_view>

#include "texts/texts.h"

namespace qzr::texts {

inline constexpr Bilingual kHeaderState{"State", "Состояние"};
inline constexpr Bilingual kHeaderDefault{"Default", "По умолчанию"};
inline constexpr Bilingual kHeaderLocation{"Location", "Расположение"};

inline constexpr std::string_view kStoreRegistry = "Registry";
inline constexpr std::string_view kStoreIni = "INI";
inline constexpr std::string_view kStoreCfg = "CFG";

// When a change shows (the Takes effect column): at once, when its program (or Explorer) starts
// again, after the next sign-in, after a restart of Windows.
inline constexpr Bilingual kTakesEffectAtOnce{"at once", "сразу"};
inline constexpr Bilingual kTakesEffectProgramRestart{"program restart", "перезапуск программы"};
inline constexpr Bilingual kTakesEffectExplorerRestart{"Explorer restart", "перезапуск Проводника"};
inline constexpr Bilingual kTakesEffectSignOut{"sign-out", "повторный вход"};
inline constexpr Bilingual kTakesEffectRestart{"restart", "перезагрузка"};

// regedit's name for a key's unnamed value.
inline constexpr Bilingual kUnnamedValue{"(Default)", "(По умолчанию)"};

}  // namespace qzr::texts
