// Filling the host's find record for one entry of the virtual folder.
#pragma once
#include "interface/fsplugin.h"
#include "plugin/listing.h"

namespace qzr {

// Attributes: a plain file; all three time stamps with every bit set; the size; the name in
// cFileName (cut to 259 bytes) and in cAlternateFileName when it fits its 13 bytes (else empty:
// a host takes an empty short name as "none"). Nothing is written past either field.
void FillFindData(host::FindData* data, const ListedEntry& entry);

}  // namespace qzr
