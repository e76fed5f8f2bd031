// Running a command the user typed into the file manager's command line (see command_grammar.h)
// over the listing's tweaks: every change goes through the actions the caller gives, which are
// the very Save and RestoreDefault the apply dialog runs, and the command ends with one summary
// for one message box. Nothing here knows the module's state: the tweaks, the settings folder,
// the language and the actions come in as arguments.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "apply/admin_import.h"
#include "apply/tweak_state.h"
#include "commands/profile_file.h"
#include "definitions/tweak_record.h"

namespace qzr {

class CommandActions {
 public:
  virtual ~CommandActions() = default;
  // Save as the apply dialog runs it: `radioIndex` 0 on, 1 off; `typedValue` (the system's
  // bytes) for a tweak typed by hand. Raises ShownError (or another std::exception) when refused.
  virtual void Save(const TTWREC& tweak, int radioIndex, const std::string& typedValue) = 0;
  // Back to the definition's default; false, doing nothing, when it gives none. Raises as Save.
  virtual bool RestoreDefault(const TTWREC& tweak) = 0;
  // The live state, read without creating anything (a missing CFG file stays missing). May raise.
  virtual CurrentValue Read(const TTWREC& tweak) = 0;
  // The user's recorded choices, in file order.
  virtual std::vector<ProfileEntry> Choices() = 0;
  // The changes Save and RestoreDefault put off (raising PutOffForRights: refused for lack of
  // rights, to be made as administrator in one go at the command's end), settled now.
  virtual std::vector<ImportOutcome> FinishPutOff() { return {}; }
};

struct CommandSetting {
  std::span<const TTWREC> Tweaks;  // as the listing holds them, in its order
  std::string IniDir;              // the settings folder, with its delimiter: where a relative FILE goes
  uint8_t Language = 0;            // of the summary
};

struct CommandOutcome {
  std::string Summary;   // UTF-8, for one message box
  bool Changed = false;  // at least one Save or RestoreDefault went through
};

// Parses and runs `line` (the text after the verb "quote", UTF-8). Masks, names and typed values
// are taken into the ANSI code page the tweaks are defined in, exactly or not at all; a FILE is
// path text. Never raises for what a tweak's action raises: that counts as a refusal.
CommandOutcome RunCommandLine(std::string_view line, const CommandSetting& setting, CommandActions& actions);

// Where a profile named `file` is (path text): as given when it names a folder from the root or
// a drive, otherwise in `iniDir`.
std::string ProfilePath(const std::string& file, const std::string& iniDir);

}  // namespace qzr
