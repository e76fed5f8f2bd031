// The command line's grammar: every verb, quotes, blanks, the faults a line can have.
#include "commands/command_grammar.h"

#include <gtest/gtest.h>

namespace qzr::test {
namespace {

using V = CommandVerb;
using F = CommandFault;
using Words = std::vector<std::string>;

struct GrammarCase {
  std::string Line;
  V Verb;
  F Fault;
  Words Masks = {};
  std::string Name = {};
  std::string Value = {};
  std::string File = {};
};

TEST(CommandGrammarTest, LinesAsCommands) {
  const GrammarCase cases[] = {
      {"on Explorer*", V::kOn, F::kNone, {"Explorer*"}},
      {"  OFF  a*   b?  ", V::kOff, F::kNone, {"a*", "b?"}},
      {"Default \"Mouse - Menu show delay*\" x", V::kDefault, F::kNone, {"Mouse - Menu show delay*", "x"}},
      {"on\tTask\"bar *\"", V::kOn, F::kNone, {"Taskbar *"}},
      {"on", V::kOn, F::kMissingMask},
      {"off \"\"", V::kOff, F::kMissingMask, {""}},
      {"default a \"\"", V::kDefault, F::kMissingMask, {"a", ""}},
      {"on \"Explorer", V::kOn, F::kUnclosedQuote},
      {"set Mouse delay = 400", V::kSet, F::kNone, {}, "Mouse delay", "400"},
      {"SET \"a = b\" = \" 4 \"", V::kSet, F::kNone, {}, "a = b", " 4 "},
      {"set x=", V::kSet, F::kNone, {}, "x", ""},
      {"set x = say \"hi\" = 2", V::kSet, F::kNone, {}, "x", "say \"hi\" = 2"},
      {"set x = \"a \"\"q\"\" b\"", V::kSet, F::kNone, {}, "x", "a \"q\" b"},
      {"set x = \"a\" b", V::kSet, F::kExtraWords, {}, "x", "a"},
      {"set x = \"a", V::kSet, F::kUnclosedQuote},
      {"set \"x = 1", V::kSet, F::kUnclosedQuote},
      {"set", V::kSet, F::kMissingName},
      {"set = 1", V::kSet, F::kMissingName},
      {"set \"\" = 1", V::kSet, F::kMissingName},
      {"set \"a=b\"", V::kSet, F::kMissingValue, {}, "a=b"},
      {"save profile.txt", V::kSave, F::kNone, {}, "", "", "profile.txt"},
      {"save \"C:\\My files\\p.txt\" Explorer* \"Mouse *\"", V::kSave, F::kNone, {"Explorer*", "Mouse *"}, "", "",
       "C:\\My files\\p.txt"},
      {"save", V::kSave, F::kMissingFile},
      {"save \"\"", V::kSave, F::kMissingFile},
      {"save p.txt \"\"", V::kSave, F::kMissingMask, {""}, "", "", "p.txt"},
      {"apply \"my profile.txt\"", V::kApply, F::kNone, {}, "", "", "my profile.txt"},
      {"apply a b", V::kApply, F::kExtraWords, {}, "", "", "a"},
      {"apply", V::kApply, F::kMissingFile},
      {"reapply", V::kReapply, F::kNone},
      {"reapply Explorer* Mouse*", V::kReapply, F::kNone, {"Explorer*", "Mouse*"}},
      {"reapply \"\"", V::kReapply, F::kMissingMask, {""}},
      {"help", V::kHelp, F::kNone},
      {"HELP me", V::kHelp, F::kExtraWords},
      {"restart-explorer", V::kRestartExplorer, F::kNone},
      {"Restart-Explorer now", V::kRestartExplorer, F::kExtraWords},
      {"restart explorer", V::kHelp, F::kUnknownWord},
      {"", V::kHelp, F::kNone},
      {"   ", V::kHelp, F::kNone},
      {"switch a", V::kHelp, F::kUnknownWord},
      {"\"on\" a", V::kHelp, F::kUnknownWord},
  };
  for (const GrammarCase& c : cases) {
    SCOPED_TRACE(c.Line);
    const Command command = ParseCommand(c.Line);
    EXPECT_EQ(command.Verb, c.Verb);
    EXPECT_EQ(command.Fault, c.Fault);
    if (c.Fault == F::kUnclosedQuote) continue;
    EXPECT_EQ(command.Masks, c.Masks);
    EXPECT_EQ(command.Name, c.Name);
    EXPECT_EQ(command.Value, c.Value);
    EXPECT_EQ(command.File, c.File);
  }
}

TEST(CommandGrammarTest, TheWordAsTyped) {
  EXPECT_EQ(ParseCommand("  ReApply x").Word, "ReApply");
  EXPECT_EQ(ParseCommand("frobnicate \"x y\"").Word, "frobnicate");
}

}  // namespace
}  // namespace qzr::test
