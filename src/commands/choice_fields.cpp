// The Chosen and Reverted columns' values.
#include "commands/choice_fields.h"

#include "apply/tweak_fields.h"
#include "platform/platform.h"
#include "texts/dialog_texts.h"

namespace qzr {

std::string ChosenFieldText(const TTWREC& tweak, const ProfileState& chosen, uint8_t language) {
  switch (chosen.Kind) {
    case ProfileStateKind::kOn: return std::string(texts::kSwitchOn.Pick(language));
    case ProfileStateKind::kOff: return std::string(texts::kSwitchOff.Pick(language));
    case ProfileStateKind::kDefault: return DefaultFieldText(tweak, language);
    case ProfileStateKind::kValue: break;
  }
  return Os().system->AnsiToUtf8(chosen.Value);
}

bool IsReverted(const TTWREC& tweak, const ProfileState& chosen, const CurrentValue& current) {
  return !ShowsState(tweak, chosen, ProfileStateOf(tweak, current));
}

}  // namespace qzr
