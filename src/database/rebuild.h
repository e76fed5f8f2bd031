// The rebuild command of the apply dialog: brings rejected definitions back from ~trash into
// plugins and rewrites every definition in the generated layout.
#pragma once
#include "database/plugin_database.h"

namespace qzr {

// Copies the definitions of the database's ~trash folder into ModuleDir\plugins where no file of
// that name is, deletes plugins\descript.ion, rewrites every plugins\*.tweak in the setup's
// language and tells the user how many were rewritten. A definition that cannot be written raises "Cannot create file" and
// ends the command there: the ones before it stay rewritten, the later ones untouched.
void RebuildBase(const DatabaseSetup& setup);

}  // namespace qzr
