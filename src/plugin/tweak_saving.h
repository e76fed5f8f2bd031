// Save as the apply dialog and the panel's bulk change both run it, so that the two can never
// differ in what they write, delete or refuse.
#pragma once
#include <string>

#include "definitions/tweak_record.h"

namespace qzr {

// SaveTweak on the state's OS family, with its undo file in the settings folder's qzr_undo; afterwards, whether it went through or raised, the
// panel's read cache is forgotten. Raises what SaveTweak raises.
void SaveTweakOfState(const TTWREC& tweak, int radioIndex, const std::string& typedValue);

}  // namespace qzr
