// What the host-level command tests cannot reach without a library of refusing tweaks: how
// far a summary lists refusals and notes, and where a profile's file name leads.
#include "commands/command_run.h"

#include <stdexcept>

#include "base/errors.h"
#include "texts/texts.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

// Every Save refused with the tweak's own name as the reason.
class RefusingActions final : public CommandActions {
 public:
  void Save(const TTWREC& tweak, int, const std::string&) override { throw ShownError("no " + tweak.TweakName); }
  bool RestoreDefault(const TTWREC&) override { return false; }
  CurrentValue Read(const TTWREC&) override { throw std::runtime_error("unread"); }
  std::vector<ProfileEntry> Choices() override { return {}; }
};

TEST(CommandRunTest, ASummaryListsTheFirstRefusalsAndNotesAndCountsTheRest) {
  std::vector<TTWREC> tweaks(5);
  for (size_t i = 0; i < tweaks.size(); ++i) tweaks[i].TweakName = "T" + std::to_string(i);
  RefusingActions actions;
  const CommandSetting setting{tweaks, "", kEnglish};
  const CommandOutcome refused = RunCommandLine("on T* t1", setting, actions);
  EXPECT_EQ(refused.Summary, "on: 0 saved, 0 skipped, 5 refused.\nRefused:\nT0: no T0\nT1: no T1\nT2: no T2\n... and 2 more.");
  EXPECT_FALSE(refused.Changed);
  const CommandOutcome unmatched = RunCommandLine("off a b c d e f g h i j", setting, actions);
  EXPECT_EQ(unmatched.Summary,
            "No tweak matches \"a\".\nNo tweak matches \"b\".\nNo tweak matches \"c\".\nNo tweak matches \"d\".\n"
            "No tweak matches \"e\".\nNo tweak matches \"f\".\nNo tweak matches \"g\".\nNo tweak matches \"h\".\n"
            "... and 2 more.");
  for (const char* line : {"save p.txt", "apply p.txt", "on *", "reapply"})
    EXPECT_EQ(RunCommandLine(line, CommandSetting{{}, "", kEnglish}, actions).Summary, "The folder holds no tweaks.") << line;
}

TEST(CommandRunTest, AFileWithoutAFolderFromTheRootIsKeptInTheSettingsFolder) {
  const std::string d(1, kPathDelim);
  const std::string ini = d + "settings" + d;
  EXPECT_EQ(ProfilePath("p.txt", ini), ini + "p.txt");
  EXPECT_EQ(ProfilePath("sub" + d + "p.txt", ini), ini + "sub" + d + "p.txt");
  EXPECT_EQ(ProfilePath(d + "abs" + d + "p.txt", ini), d + "abs" + d + "p.txt");
#ifdef _WIN32
  EXPECT_EQ(ProfilePath("C:\\p.txt", ini), "C:\\p.txt");
  EXPECT_EQ(ProfilePath("D:p.txt", ini), "D:p.txt");
  EXPECT_EQ(ProfilePath("/p.txt", ini), "/p.txt");
#endif
}

class RestartExplorerTest : public PluginTest {};

// Asked first, in the interface language; only a Yes restarts, whatever the folder holds.
TEST_F(RestartExplorerTest, AsksFirstAndRestartsOnlyOnYes) {
  struct Case {
    const char* what;
    bool yes;
    long failure;
    uint8_t language;
    std::vector<std::string> notices;
    std::string summary;
  };
  const std::string failed = "Explorer could not be restarted. " + Os().system->AnsiToUtf8(Os().system->ErrorMessage(5));
  const Case cases[] = {
      {"yes", true, 0, kEnglish, {"restart Explorer"}, "Explorer was restarted."},
      {"no", false, 0, kEnglish, {}, "Explorer was not restarted."},
      {"refused", true, 5, kEnglish, {"restart Explorer"}, failed},
      {"Russian", true, 0, kRussian, {"restart Explorer"}, "Проводник перезапущен."},
  };
  RefusingActions actions;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui_.notices.clear();
    ui_.questions.clear();
    ui_.answers = {c.yes};
    ui_.restartResult = c.failure;
    const CommandOutcome outcome = RunCommandLine("restart-explorer", CommandSetting{{}, "", c.language}, actions);
    EXPECT_EQ(outcome.Summary, c.summary);
    EXPECT_FALSE(outcome.Changed) << "no tweak changed: the panel needs no reread";
    EXPECT_EQ(ui_.notices, c.notices);
    ASSERT_EQ(ui_.questions.size(), 1u);
    EXPECT_EQ(ui_.questions[0].rfind(c.language == kEnglish ? "Restart Explorer now?" : "Перезапустить Проводник", 0), 0u);
  }
  ui_.questions.clear();
  EXPECT_EQ(RunCommandLine("restart-explorer now", CommandSetting{{}, "", kEnglish}, actions).Summary,
            "restart-explorer: too many words.");
  EXPECT_TRUE(ui_.questions.empty());
}

}  // namespace
}  // namespace qzr::test
