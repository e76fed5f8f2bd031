// The example definitions shipped in examples/plugins read as they describe themselves.
#include <algorithm>

#include "database/plugin_database.h"
#include "plugin/state_calls.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

class ExamplePluginsTest : public PluginTest {
 protected:
  void Build(bool nt) {
    ResetState();
    State().ModuleDir = SourcePath("examples") + kPathDelim;
    State().IniDir = ini_.dir();
    State().OSIsNT = nt;
    BuildPluginDatabase();
  }
  const TTWREC& Tweak(const std::string& name) {
    for (const TTWREC& r : State().TweakTable)
      if (r.TweakName == name) return r;
    ADD_FAILURE() << name;
    static const TTWREC none;
    return none;
  }
  std::vector<std::string> SortedNames() {
    std::vector<std::string> names;
    for (const TTWREC& r : State().TweakTable) names.push_back(r.TweakName);
    std::sort(names.begin(), names.end());
    return names;
  }
  TempFolder ini_;
};

TEST_F(ExamplePluginsTest, KeptAndRejectedOnTheNtFamily) {
  ScopedEnv windir("WINDIR", "C:\\WINDOWS");
  Build(true);
  EXPECT_EQ(SortedNames(), (std::vector<std::string>{"Example INI switch", "Example byte-array value", "Menu show delay",
                                                     "Show extensions of known file types",
                                                     "Show hidden files and folders"}));
  const TTWREC& ext = Tweak("Show extensions of known file types");
  EXPECT_EQ(ext.RootKey, kRootCurrentUser);
  EXPECT_EQ(ext.ValueOn, TweakValue(0));
  EXPECT_EQ(ext.DefValue, TweakValue(1));
  const TTWREC& hidden = Tweak("Show hidden files and folders");
  EXPECT_EQ(hidden.VarName, "Hidden");
  EXPECT_EQ(hidden.ValueOff, TweakValue(2));
  const TTWREC& ini = Tweak("Example INI switch");
  EXPECT_EQ(ini.Path, "C:\\WINDOWS\\example.ini");
  EXPECT_EQ(ini.Section, "OPTIONS");
  EXPECT_TRUE(ini.ValueOffDelVal && ini.DefDelVal);
  EXPECT_EQ(Tweak("Example byte-array value").ValueOn, TweakValue(TRaw{1, 0, 0, 0}));
  const TTWREC& delay = Tweak("Menu show delay");
  EXPECT_TRUE(delay.ByHands);
  EXPECT_EQ(delay.DefValue, TweakValue(std::string("400")));

  std::string trash = ReadBytes(ini_.path("~trash") + kPathDelim + "descript.ion");
  EXPECT_NE(trash.find("\"no_name.tweak\" VLK Plugin with errors.\r\n"), std::string::npos) << trash;
  EXPECT_NE(trash.find("\"win9x_only.tweak\" Do not save the desktop settings (9x)\r\n"), std::string::npos);
}

TEST_F(ExamplePluginsTest, The9xOnlyExampleIsKeptOnThe9xFamily) {
  Build(false);
  EXPECT_EQ(SortedNames(), (std::vector<std::string>{"Do not save the desktop settings (9x)", "Example INI switch",
                                                     "Example byte-array value", "Menu show delay"}));
}

}  // namespace
}  // namespace qzr::test
