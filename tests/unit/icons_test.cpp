// Which icon an entry gets.
#include "plugin/plugin_state.h"
#include "plugin/icons.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

class IconsTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginState& s = State();
    for (auto [name, type] : {std::pair{"Reg", kPlugReg}, std::pair{"Ini", kPlugIni}, std::pair{"Cfg", kPlugCfg}}) {
      TTWREC r;
      r.TweakName = name;
      r.PlugType = type;
      s.TweakTable.push_back(r);
    }
    s.TweakPos = 3;
    s.XArc = std::make_shared<TXARC>();
    s.XArc->Opened = true;
    s.XArc->LoadNames();
  }
};

TEST_F(IconsTest, RegistryTweaksAndFileTweaksGetTheirOwnIcons) {
  std::string d(1, kPathDelim);
  EXPECT_STREQ(IconResourceFor(d + "Reg."), "SOMEICON");
  EXPECT_STREQ(IconResourceFor(d + "ini."), "XICON");
  EXPECT_STREQ(IconResourceFor(d + "CFG."), "XICON");
  EXPECT_STREQ(IconResourceFor(" Reg.\t"), "SOMEICON") << "blanks around the name are dropped";
  for (const std::string& other : {d + ".", d + "..", d, std::string(), d + "Unknown.", d + "Reg"})
    EXPECT_EQ(IconResourceFor(other), nullptr) << other;
}

}  // namespace
}  // namespace qzr::test
