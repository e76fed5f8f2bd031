// The command line the host sends while the plugin's folder is open: FsExecuteFile on the
// folder with the verb "quote <command line>" (Total Commander when the user presses Enter in
// its command line; Double Commander the same, the panel's current file aside).
#pragma once
#include <string>

namespace qzr {

// Runs `line` (the text after "quote ", as UTF-8) over the listing's tweaks, each
// change through the Save the apply dialog runs, and shows its summary in one message box, in
// the interface language. After a command that changed something, Total Commander's panel is
// asked to reread, as after a Save.
void RunCommandLineOfState(const std::string& line);

}  // namespace qzr
