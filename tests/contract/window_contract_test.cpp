// The window calls of the platform seam, held to what Windows does: a window's class, and a
// message posted to it (never to the thread's own queue for a null window).
#include "support/test_support.h"
#include "support/test_window.h"

namespace qzr::test {
namespace {

TEST(WindowContract, ClassNameAndPostingFollowTheWindowWhileItLives) {
  UiApi& ui = *Os().ui;
  EXPECT_EQ(ui.WindowClassName(nullptr), "");
  EXPECT_FALSE(ui.PostToWindow(nullptr, 0x0400 + 51, 540, 0));

  TestWindow window("QZR_Contract_Window");
  ASSERT_NE(window.handle(), nullptr);
  EXPECT_EQ(ui.WindowClassName(window.handle()), "QZR_Contract_Window");
  EXPECT_TRUE(ui.PostToWindow(window.handle(), 0x0400 + 51, 540, 7));
  EXPECT_TRUE(ui.PostToWindow(window.handle(), 0x0400 + 52, 1, -1));
  EXPECT_EQ(window.Take(), (std::vector<PostedMessage>{{0x0400 + 51, 540, 7}, {0x0400 + 52, 1, -1}}));
  EXPECT_TRUE(window.Take().empty());

  void* gone = window.handle();
  window.Close();
  EXPECT_EQ(ui.WindowClassName(gone), "");
  EXPECT_FALSE(ui.PostToWindow(gone, 0x0400 + 51, 540, 0));
}

}  // namespace
}  // namespace qzr::test
