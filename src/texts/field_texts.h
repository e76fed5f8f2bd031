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

// regedit's name for a key's unnamed value.
inline constexpr Bilingual kUnnamedValue{"(Default)", "(По умолчанию)"};

}  // namespace qzr::texts
