// Dialogs that press their buttons themselves, for the programs that link the entry points in:
// the apply dialog presses Rebuild (while presses are left) and then Save, with "on" or the
// typed value the test gives; the about dialog presses OK. Errors the buttons raise go to the
// seam's message box, as in the real dialogs.
#pragma once
#include <string>

namespace qzr::test {

struct DialogScript {
  int RebuildPresses = 0;
  std::string TypedValue = "123";
  int ApplyShown = 0;
  int AboutShown = 0;
};

DialogScript& Script();

}  // namespace qzr::test
