// A window of a given class standing in for a host's main window, and the messages posted to
// it: a real (message-only) window on Windows, the substitute's window elsewhere.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qzr::test {

struct PostedMessage {
  uint32_t Message = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  bool operator==(const PostedMessage&) const = default;
};

class TestWindow {
 public:
  explicit TestWindow(const std::string& className);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  // Null when no window could be made.
  void* handle() const { return handle_; }
  // The messages waiting for the window, oldest first; they are taken off its queue. Call it on
  // the thread that made the window.
  std::vector<PostedMessage> Take();
  void Close();

 private:
  std::string className_;
  void* handle_ = nullptr;
};

}  // namespace qzr::test
