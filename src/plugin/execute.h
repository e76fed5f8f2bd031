// Executing an entry of the virtual folder: "open" on a tweak shows the apply dialog with the
// setting's live state; "properties" on the root shows the about dialog; "quote <command line>"
// runs what the user typed into the host's command line (command_line.h); anything else does
// nothing. The host is always told it went well (FS_EXEC_OK), a command line too, whatever it
// did: the plugin has shown its own message, and an error answer would add the host's. Neither
// host runs a "quote" command itself on any answer: Total Commander downloads and runs a file
// only on FS_EXEC_YOURSELF (which means nothing for a command line), and Double Commander
// ignores the answer to a command line and rereads the panel after it either way.
#pragma once
#include <string>

namespace qzr {

// `remoteName` in the ANSI code page, as the listing names tweaks; `verb` as UTF-8 text, so that a
// command line typed in any script reaches the command runner whole.
void ExecuteFile(const std::string& remoteName, const std::string& verb);

// Opens the tweak behind a virtual file name: reads its state, shows the apply dialog, and
// saves through it. A name the listing does not hold opens nothing.
void OpenTweak(const std::string& fileName);

}  // namespace qzr
