// The backup a Save writes before it changes anything: for a registry tweak a REGEDIT4 file that
// restores the value or the whole key, for an INI or CFG tweak a copy of the file as it was (or
// a note that there was none), each with a line that says what changed, when, from what to what.
#pragma once
#include <string>

#include "definitions/tweak_record.h"

namespace qzr {

enum class SaveAction { kWrite, kDeleteValue, kDeleteKey };

// Writes the backup for `tweak` into `undoFolder`; `newText` is the value about to be written
// (for kWrite), as the description shows it. Raises ShownError "Unable to write to <backup path>" when it cannot be written
// in full: the Save must then change nothing.
void BackUpBeforeSave(const TTWREC& tweak, SaveAction action, const std::string& newText, const std::string& undoFolder);

}  // namespace qzr
