// Filling the host's find record, narrow or wide, for one entry of the virtual folder.
#pragma once
#include "interface/fsplugin.h"
#include "plugin/listing.h"

namespace qzr {

// Attributes: a plain file; all three time stamps with every bit set; the size; the name in
// cFileName (cut to 259 characters) and in cAlternateFileName when it fits its 13 (else empty:
// a host takes an empty short name as "none"). Nothing is written past either field. The wide
// record holds the ANSI name converted to UTF-16.
void FillFindData(host::FindData* data, const ListedEntry& entry);
void FillFindData(host::FindDataW* data, const ListedEntry& entry);

}  // namespace qzr
