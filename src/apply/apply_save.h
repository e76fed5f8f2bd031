// What the apply dialog's Save does: turns the user's choice into writing the on, off or typed
// value, or deleting the value or the key, through a fresh store of the tweak's kind.
#pragma once
#include <cstdint>
#include <string>

#include "definitions/tweak_record.h"

namespace qzr {

// Typed text of a BIN tweak to `size` bytes: exactly 2 x size hexadecimal digits, no blanks,
// separators or prefixes. On failure `bytes` is left untouched.
bool ParseHexValue(const std::string& text, int32_t size, uint8_t* bytes);

class AdminImport;

// Saves the choice: `radioIndex` 0 is on, anything else off; `typedValue` (the system's bytes)
// counts for tweaks typed by hand; `ntFamily` is the OS family the registry store works for.
// Before it changes anything it writes the state it replaces into `undoFolder` (UndoFolder of
// the settings folder; see save_backup.h). Raises ShownError when typed text is no number, the
// backup or a file cannot be written; nothing is written then. Given `admin`, a registry change
// outside HKEY_CURRENT_USER refused for lack of rights goes into it to be made as administrator,
// its undo file kept, and PutOffForRights is raised (see admin_import.h).
void SaveTweak(const TTWREC& tweak, int radioIndex, const std::string& typedValue, bool ntFamily,
               const std::string& undoFolder, AdminImport* admin = nullptr);

// Puts the tweak back to its default as its definition's DEFAULT> gives it: writes the default
// value, or deletes the value (#SYSDELVAL) or the key or section (#SYSDELKEY), through the same
// stores, checks, refusals and undo file as SaveTweak. Answers false, doing nothing, when the
// definition gives no default to go back to. Raises what SaveTweak raises.
bool RestoreDefault(const TTWREC& tweak, bool ntFamily, const std::string& undoFolder, AdminImport* admin = nullptr);

}  // namespace qzr
