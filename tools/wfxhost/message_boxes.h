// The module's message boxes, read and answered for a user who is not there: while an entry
// point runs on the host's thread, a second thread waits for each box the module shows there,
// keeps its text and presses OK, so that wfxhost can print what a command summed up and never
// hangs on a box. Without Windows the module writes its messages to standard error itself.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace wfxhost {

class MessageBoxes {
 public:
  MessageBoxes();
  ~MessageBoxes();
  MessageBoxes(const MessageBoxes&) = delete;
  MessageBoxes& operator=(const MessageBoxes&) = delete;
  // Starts watching the calling thread's windows.
  void Start();
  // Stops watching (the entry point has returned); the texts of the boxes, in the order shown.
  std::vector<std::string> Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace wfxhost
