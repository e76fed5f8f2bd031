// What the panel's Chosen and Reverted columns show for a tweak the user made a choice for: the
// choice in the words the State and Default columns use, and whether the live state no longer
// shows it (Windows, or anything else, turned it back). Texts are the system's bytes (the ANSI
// code page), as the host's field functions hand them on.
#pragma once
#include <cstdint>
#include <string>

#include "apply/tweak_state.h"
#include "commands/profile_file.h"
#include "definitions/tweak_record.h"

namespace qzr {

// On and off as State shows a switch ("Yes"/"No" in the interface language), `default` as the
// Default column's text, a typed value as State shows it.
std::string ChosenFieldText(const TTWREC& tweak, const ProfileState& chosen, uint8_t language);

// Whether the state read (`current`) does not show the choice.
bool IsReverted(const TTWREC& tweak, const ProfileState& chosen, const CurrentValue& current);

}  // namespace qzr
