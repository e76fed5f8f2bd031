// Save as the apply dialog and the panel's bulk change both run it, so that the two can never
// differ in what they write, delete or refuse.
#pragma once
#include <string>

#include "definitions/tweak_record.h"

namespace qzr {

class AdminImport;

// SaveTweak on the state's OS family, with its undo file in the settings folder's qzr_undo; afterwards, whether it went through or raised, the
// panel's read cache is forgotten. Raises what SaveTweak raises.
// A Save that went through is recorded in the choices file as the state read back right after it.
// Given `admin`, a change refused for lack of rights is put off into it (PutOffForRights).
void SaveTweakOfState(const TTWREC& tweak, int radioIndex, const std::string& typedValue, AdminImport* admin = nullptr);
// RestoreDefault the same way (recorded, the read cache forgotten); false when the definition
// gives no default.
bool RestoreDefaultOfState(const TTWREC& tweak, AdminImport* admin = nullptr);
// After an import as administrator changed the tweak's setting: recorded as a Save that went
// through is, and noted as a changed setting.
void RecordImportedSave(const TTWREC& tweak);

}  // namespace qzr
