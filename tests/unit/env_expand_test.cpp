// %NAME% expansion against the real process environment.
#include "base/env_expand.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TEST(ExpandEnvVars, ReplacesReferencesAndJoinsAroundUndefinedOnes) {
  ScopedEnv a("QZR_A", "alpha");
  ScopedEnv b("QZR_B", "beta");
  ScopedEnv none("QZR_UNDEFINED", nullptr);
  EXPECT_EQ(ExpandEnvVars("no references"), "no references");
  EXPECT_EQ(ExpandEnvVars("%QZR_A%\\x"), "alpha\\x");
  EXPECT_EQ(ExpandEnvVars("left%QZR_UNDEFINED%right"), "leftright");
  EXPECT_EQ(ExpandEnvVars("a%%b"), "ab") << "the empty name is removed";
  EXPECT_EQ(ExpandEnvVars("%QZR_A%%QZR_B%"), "alphabeta");
  EXPECT_EQ(ExpandEnvVars("%QZR_A% and %QZR_A%"), "alpha and alpha");
  EXPECT_EQ(ExpandEnvVars(""), "");
}

TEST(ExpandEnvVars, NamesMatchWithoutRegardToCaseLikeWindows) {
  ScopedEnv a("QZR_CASE", "v");
  EXPECT_EQ(ExpandEnvVars("%qzr_case%-%QZR_CASE%"), "v-v");
}

TEST(ExpandEnvVars, SystemRootGivesTheWindowsFolder) {
#ifdef _WIN32
  std::string expanded = ExpandEnvVars("%SystemRoot%\\win.ini");
  EXPECT_NE(expanded.find(":\\"), std::string::npos) << expanded;
  EXPECT_EQ(expanded.find('%'), std::string::npos);
#else
  ScopedEnv root("SystemRoot", "C:\\windows");
  EXPECT_EQ(ExpandEnvVars("%SystemRoot%\\win.ini"), "C:\\windows\\win.ini");
#endif
}

TEST(ExpandEnvVars, ValuesMayBringFurtherReferences) {
  ScopedEnv outer("QZR_OUTER", "[%QZR_INNER%]");
  ScopedEnv inner("QZR_INNER", "in");
  EXPECT_EQ(ExpandEnvVars("%QZR_OUTER%"), "[in]");
  // A reference may come back through another value without being a cycle.
  ScopedEnv qa("QZR_QA", "x");
  ScopedEnv qb("QZR_QB", "%QZR_QA%");
  ScopedEnv qc("QZR_QC", "c");
  EXPECT_EQ(ExpandEnvVars("%QZR_QA%%QZR_QB% %QZR_QC%"), "xx c");
  EXPECT_EQ(ExpandEnvVars("%QZR_QB%%QZR_OUTER%%QZR_QB%"), "x[in]x");
}

TEST(ExpandEnvVars, EndsOnLonePercentSign) {
  ScopedEnv a("QZR_A", "alpha");
  EXPECT_EQ(ExpandEnvVars("50% off"), "50% off");
  EXPECT_EQ(ExpandEnvVars("%QZR_A% is 100%"), "alpha is 100%");
  EXPECT_EQ(ExpandEnvVars("%"), "%");
  EXPECT_EQ(ExpandEnvVars("%%%"), "%");
}

TEST(ExpandEnvVars, EndsOnValuesThatReferToThemselves) {
  ScopedEnv self("QZR_SELF", "x%QZR_SELF%");
  EXPECT_EQ(ExpandEnvVars("%QZR_SELF%"), "x%QZR_SELF%");
  ScopedEnv ping("QZR_PING", "%QZR_PONG%");
  ScopedEnv pong("QZR_PONG", "%QZR_PING%!");
  EXPECT_EQ(ExpandEnvVars("%QZR_PING%"), "%QZR_PING%!");
  // A value that builds ever new names out of the text around it still stops.
  ScopedEnv grow("QZR_GROW", "%QZR_GROW%%QZR_GROW");
  std::string out = ExpandEnvVars("%QZR_GROW%%");
  EXPECT_LE(out.size(), (1u << 20) + 64);
}

// Twenty different references come first, one round each, so the rest of the line is expanded in
// pieces: the same text as in whole-text rounds, bounds included.
TEST(ExpandEnvVars, ManyRoundsGiveWhatWholeTextRoundsGive) {
  ScopedEnv a("QZR_A", "alpha");
  ScopedEnv p("QZR_P", "%QZR_A%-");
  ScopedEnv self("QZR_SELF", "x%QZR_SELF%");
  ScopedEnv half("QZR_HALF", "%QZR_A");
  ScopedEnv longValue("QZR_LONG", "xxxxxxxxxxxxxxxxxxxx");
  std::string rounds;
  for (int i = 0; i < 20; ++i) rounds += "%QZR_NONE_" + std::to_string(i) + "%";
  const ExpansionBounds real;
  struct Row {
    const char* tail;
    const char* expanded;  // null: only the same as whole-text rounds
    ExpansionBounds bounds;
  } rows[] = {
      {"%QZR_A%QZR_A%QZR_A%", "alphaQZR_Aalpha", real},  // neighbours sharing a sign: every other one
      {"%QZR_P%%QZR_P%", "alpha-alpha-", real},
      {"%QZR_SELF%", "x%QZR_SELF%", real},
      {"[%QZR_HALF%B%]", "[]", real},  // a value's lone sign pairs with the line's
      {"50% off", "50% off", real},
      {"%QZR_LONG%%QZR_LONG%%QZR_LONG%", "%QZR_LONG%%QZR_LONG%%QZR_LONG%", {4096, 40, 1u << 20}},
      {"%QZR_A%%QZR_A%", nullptr, {4096, 1u << 20, 2000}},  // the work bound ends it among the twenty
      {"%QZR_A%", nullptr, {18, 1u << 20, 1u << 20}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tail);
    const std::string line = rounds + row.tail;
    const std::string expanded = ExpandEnvVars(line, row.bounds);
    if (row.expanded) {
      EXPECT_EQ(expanded, row.expanded);
    }
    EXPECT_EQ(expanded, ExpandEnvVarsInWholeTextRounds(line, row.bounds));
  }
}


// Whole-text rounds step from percent sign to percent sign: an occurrence is a sign whose next
// sign follows the name, so names that begin alike, empty names and a sign shared by neighbours
// must each be found as a left-to-right search finds them.
TEST(ExpandEnvVars, WholeTextRoundsFindOccurrencesAsASearchDoes) {
  ScopedEnv a("QZR_A", "alpha");
  ScopedEnv none("QZR_AB", nullptr);
  struct Row {
    const char* line;
    const char* expanded;
  } rows[] = {
      {"%QZR_A%QZR_AB%QZR_A%", "alphaQZR_ABalpha"},
      {"%QZR_A%%QZR_AB%%QZR_A%x%QZR_A", "alphaalphax%QZR_A"},
      {"%QZR_AB%QZR_A%QZR_A%", "QZR_Aalpha"},
      {"100%% %QZR_A%", "100 alpha"},
      {"%QZR_A%%%QZR_A%", "alpha%alpha"},  // the lone sign between them stays
      {"x%QZR_A", "x%QZR_A"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(ExpandEnvVarsInWholeTextRounds(row.line), row.expanded);
    EXPECT_EQ(ExpandEnvVars(row.line), row.expanded);
  }
}

}  // namespace
}  // namespace qzr::test
