// What the panel's columns show for a tweak, made by the same code as the apply dialog: the
// state as the dialog would show it (its yes/no text, or the value typed by hand), the
// dialog's default text, whether the two agree, the store and where the setting lives. Texts
// are UTF-8, whatever the ANSI code page holds: the host's wide field functions show them whole.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "apply/tweak_state.h"
#include "definitions/tweak_record.h"

namespace qzr {

struct StateFields {
  std::string State;
  bool IsDefault = false;
};

StateFields MakeStateFields(const TTWREC& tweak, const CurrentValue& current, uint8_t language);
// The dialog's default text: needs nothing read.
std::string DefaultFieldText(const TTWREC& tweak, uint8_t language);
// "Registry", "INI" or "CFG".
std::string StoreFieldText(const TTWREC& tweak);
// "HKCU\Software\...\ValueName" (the root by its short name), or the file with "[section]"
// and the key.
std::string LocationFieldText(const TTWREC& tweak, uint8_t language);

// The choice a State text stands for, as the dialog's Save takes it: 0 on, 1 off; nothing for
// any other text. Either language's yes and no count, in any letter case.
std::optional<int> SwitchChoiceOf(const std::string& text);

}  // namespace qzr
