// A scripted user for the module's apply dialog, so wfxhost can open a tweak unattended: while
// FsExecuteFile runs the dialog modally on the host's thread, a second thread waits for it,
// makes the choice and presses Save (or Close). Builds without dialogs have nothing to drive.
#pragma once
#include <memory>
#include <string>

namespace wfxhost {

class DialogChoice {
 public:
  // `choice`: "yes", "no", "value=TEXT" (typed into the value box) or "close". What the dialog
  // showed when it opened is part of the outcome.
  DialogChoice(const std::string& choice, int timeoutSeconds);
  ~DialogChoice();
  DialogChoice(const DialogChoice&) = delete;
  DialogChoice& operator=(const DialogChoice&) = delete;
  // Starts watching for the dialog of the calling thread.
  void Start();
  // Waits for the script to end; what it did, or why it failed.
  std::string Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace wfxhost
