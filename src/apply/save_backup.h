// The backup a Save writes before it changes anything: for a registry tweak a registry file (the
// registry editor's Unicode form) that restores the value or the whole key, for an INI or CFG
// tweak a copy of the file as it was (or a note that there was none), each with a line that says
// what changed, when, from what to what.
#pragma once
#include <string>
#include <vector>

#include "base/errors.h"

#include "definitions/tweak_record.h"

namespace qzr {

enum class SaveAction { kWrite, kDeleteValue, kDeleteKey };

// The backup a Save wrote, and what a refused Save is checked against.
struct WrittenBackup {
  std::string Path;
  std::string State;                 // the state it was made from, to compare with
  std::vector<std::string> Created;  // registry keys the Save creates, deepest first
};

// Writes the backup for `tweak` into `undoFolder`; `newText` is the value about to be written
// (for kWrite), as the description shows it. Raises ShownError "Unable to write to <backup path>" when it cannot be written
// in full: the Save must then change nothing.
WrittenBackup BackUpBeforeSave(const TTWREC& tweak, SaveAction action, const std::string& newText,
                               const std::string& undoFolder);

// After the change raised `error`: the registry keys the Save created and left empty go; when the
// setting is then as the backup found it, the backup goes too, with its descript.ion line (it
// would describe a change that never happened, and push a real one out of the thousand kept),
// and `error` is raised again. When something did change, the message names the backup, so the
// user can put back what was there.
[[noreturn]] void TakeBackRefusedSave(const TTWREC& tweak, SaveAction action, const WrittenBackup& backup,
                                      const ShownError& error);

// The first half of that: the registry keys the Save created and left empty go; true when the
// setting is then as the backup found it.
bool UndoCreatedKeys(const TTWREC& tweak, SaveAction action, const WrittenBackup& backup);
// The same take-back for a refusal whose text is `message`: answers the text to show.
std::string TakeBackRefused(const TTWREC& tweak, SaveAction action, const WrittenBackup& backup,
                            const std::string& message);

}  // namespace qzr
