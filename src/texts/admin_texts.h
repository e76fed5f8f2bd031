// The texts of asking for administrator rights: the one question an operation asks before it
// makes its refused machine-wide changes as administrator, and what a change of attributes says
// afterwards. UTF-8; "%s" and "%d" are filled by Format.
#pragma once
#include <cstddef>
#include <string_view>

#include "texts/texts.h"

namespace qzr::texts {

// The question, then the keys one a line (%s), then how many more.
inline constexpr Bilingual kAskAdministrator{
    "Windows refused the change for lack of administrator rights. Make it as administrator? Windows will ask "
    "for your consent.\n\n%s",
    "Windows отказала в изменении: нет прав администратора. Выполнить его от имени администратора? Windows "
    "запросит подтверждение.\n\n%s"};
// Shown keys in the question; the rest are counted with kAndMore.
inline constexpr size_t kAskedKeysShown = 8;
// After a change of attributes: the tweaks then changed as administrator, and those still refused.
inline constexpr Bilingual kAppliedAsAdministrator{"Applied as administrator:", "Применено от имени администратора:"};
inline constexpr Bilingual kStillRefused{"Still refused:", "По-прежнему отказано:"};

}  // namespace qzr::texts
