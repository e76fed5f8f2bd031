// The command line's grammar: what the user typed into the file manager's command line while
// the plugin's folder is open (the host sends it as the verb "quote <command line>"), as words.
//
//   on MASK...            off MASK...           default MASK...
//   set NAME = VALUE      save FILE [MASK...]   apply FILE
//   reapply [MASK...]     restart-explorer      help
//
// Command words are English, in any letter case. Masks and names are as the panel shows the
// tweaks, with "*" and "?"; one that holds blanks is written in double quotes, as on any command
// line. A NAME that holds "=" must be quoted; the VALUE is the rest of the line after the first
// "=" that follows the name, trimmed, and may be quoted to keep blanks at its ends.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qzr {

enum class CommandVerb { kOn, kOff, kDefault, kSet, kSave, kApply, kReapply, kHelp, kRestartExplorer };

// Why a line is no command. kNone for a command; an unknown word or an empty line asks for help.
enum class CommandFault {
  kNone,
  kUnknownWord,   // `Word` holds it: answered with the help
  kMissingMask,   // on, off, default without a mask (an empty mask counts as missing)
  kMissingName,   // set without a name
  kMissingValue,  // set without "=" after the name
  kMissingFile,   // save or apply without a file
  kExtraWords,    // apply FILE with more after it, help or restart-explorer with words after it
  kUnclosedQuote,
};

struct Command {
  CommandVerb Verb = CommandVerb::kHelp;
  CommandFault Fault = CommandFault::kNone;
  std::string Word;                // the command word as typed (for messages)
  std::vector<std::string> Masks;  // on/off/default; save and reapply: empty means every tweak
  std::string Name;                // set
  std::string Value;               // set
  std::string File;                // save, apply: as typed, quotes removed
};

// Never raises; text of any bytes gives a Command. The host's line is UTF-8: the grammar's
// quotes and blanks are ASCII, which never occur inside a multibyte sequence, so the words keep
// their characters whole.
Command ParseCommand(std::string_view line);

}  // namespace qzr
