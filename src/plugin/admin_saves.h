// The end of a user's operation for the machine-wide changes Windows refused it for lack of
// rights: one question naming their keys, then one import as administrator.
#pragma once
#include <vector>

#include "apply/admin_import.h"

namespace qzr {

// Asks once in the interface language (no question when nothing was put off), imports and reads
// back; each tweak then changed is recorded as a Save that went through (RecordImportedSave).
std::vector<ImportOutcome> FinishAdminImport(AdminImport& admin);

}  // namespace qzr
