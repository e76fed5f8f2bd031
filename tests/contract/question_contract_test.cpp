// The yes/no question of the platform seam: the answer is the button the user clicked, through
// the backend itself and through the test platforms that wrap it.
#include "support/delegating_platform.h"
#include "support/failing_platform.h"
#include "support/question_answerer.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TEST(QuestionContract, TheAnswerIsTheButtonClicked) {
  DelegatingUi delegating;
  FailingPlatform failing;
  for (UiApi* ui : {static_cast<UiApi*>(&delegating), Os().ui}) {
    for (bool yes : {true, false}) {
      QuestionAnswerer user(yes);
      EXPECT_EQ(ui->AskYesNo("Write the setting as administrator?", "QZR_TC question"), yes);
#ifdef _WIN32
      EXPECT_EQ(user.AnsweredCaption(), "QZR_TC question");
#endif
    }
  }
  EXPECT_EQ(failing.Calls(), 2);
}

}  // namespace
}  // namespace qzr::test
