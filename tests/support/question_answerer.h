// Answers the next yes/no question of the platform seam as a user would: on Windows a second
// thread waits for the real box of this thread and clicks the button; elsewhere the answer is
// queued with the substitute. Every wait has a limit, so a box that never comes cannot block.
#pragma once
#include <memory>
#include <string>

namespace qzr::test {

class QuestionAnswerer {
 public:
  explicit QuestionAnswerer(bool yes);
  // Waits for the clicking thread (Windows); drops an answer no question took.
  ~QuestionAnswerer();
  QuestionAnswerer(const QuestionAnswerer&) = delete;
  QuestionAnswerer& operator=(const QuestionAnswerer&) = delete;

  // The caption of the box that was answered, once it was (Windows); the substitute shows none.
  std::string AnsweredCaption();

 private:
  struct Clicker;
  std::unique_ptr<Clicker> clicker_;
};

}  // namespace qzr::test
