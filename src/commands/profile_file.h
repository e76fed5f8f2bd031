// A profile: the states of tweaks, one tweak a line, as `save` writes it, `apply` reads it and
// the choices file keeps the user's own choices. A person reads and edits it in Notepad: the
// system's ANSI code page (the bytes the definitions' names are in), CR LF line ends, a header
// of comment lines that says what wrote it and when, then
//
//   "Explorer - Show extensions of known file types" = on
//   "Mouse - Menu show delay, ms (Windows 400)" = "400"
//
// A name or a value is quoted, a quote inside one doubled, so that names holding "=", blanks or
// ";" come back exactly. The state is `on`, `off`, `default` (put back as the definition's
// DEFAULT> gives it) or a quoted value typed by hand. Lines beginning with ";" are comments;
// blank lines count for nothing. Reading is tolerant of what a hand edit makes (blanks, letter
// case of the words, an unquoted name that holds no "="), and reports every other line by its
// number instead of guessing.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "apply/tweak_state.h"
#include "definitions/tweak_record.h"

namespace qzr {

enum class ProfileStateKind { kOn, kOff, kDefault, kValue };

struct ProfileState {
  ProfileStateKind Kind = ProfileStateKind::kOn;
  std::string Value;  // kValue only: the value as the apply dialog shows and takes it (ANSI bytes)
  bool operator==(const ProfileState&) const = default;
};

struct ProfileEntry {
  std::string Name;  // the tweak's name as the listing holds it (ANSI bytes)
  ProfileState State;
  bool operator==(const ProfileEntry&) const = default;
};

struct ProfileLineFault {
  int LineNumber = 0;  // 1-based
  std::string Line;    // the line as it stands, without its line end
};

struct ParsedProfile {
  std::vector<ProfileEntry> Entries;  // in file order
  std::vector<int> EntryLines;        // each entry's 1-based line number
  std::vector<ProfileLineFault> Faults;
};

// Reads a profile's bytes (CR LF, LF or CR line ends; a UTF-8 byte-order mark is skipped).
ParsedProfile ParseProfile(std::string_view bytes);

// The whole file: `headerLines` as comment lines ("; " before each), then one line per entry,
// CR LF after every line. An entry that no line can hold (a value with a line break or a zero
// byte) is left out: `leftOut` (when given) receives its name.
std::string FormatProfile(const std::vector<std::string>& headerLines, const std::vector<ProfileEntry>& entries,
                          std::vector<std::string>* leftOut = nullptr);

// The tweak's state as a profile keeps it, from what was read: `on`/`off` for a switch; for a
// tweak typed by hand the value as the dialog shows it, or `default` when the setting is missing
// and the definition's default is a deletion. Applying it on a fresh system gives the same read.
ProfileState ProfileStateOf(const TTWREC& tweak, const CurrentValue& current);

// Whether a live state shows the state that was chosen: `default` stands for the state the
// definition's default reads as; values typed by hand compare as the dialog's texts do.
bool ShowsState(const TTWREC& tweak, const ProfileState& chosen, const ProfileState& live);

}  // namespace qzr
