// Save on the module's state records the state it left in the choices file: after a switch, a
// typed value, a return to the default; never after a refused Save; and a choice that cannot be
// recorded does not fail the Save.
#include "plugin/tweak_saving.h"

#include <functional>

#include "base/errors.h"
#include "commands/choices_file.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "stores/vesk_registry.h"
#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

class TweakSavingTest : public PluginTest {
 protected:
  TweakSavingTest() {
    State().IniDir = folder_.dir();
    State().OSIsNT = true;
    State().XArc = std::make_shared<TXARC>();
    State().XArc->Opened = true;  // an empty listing: nothing is built
  }
  static TTWREC Reg(const char* name, bool byHands) {
    TTWREC t;
    t.TweakName = name;
    t.RootKey = kRootCurrentUser;
    t.Path = ScratchKey::Path(name);
    t.VarName = "Value";
    t.DataType = kDataDword;
    t.ByHands = byHands;
    t.ValueOn = int32_t{1};
    t.ValueOff = int32_t{0};
    t.DefValue = int32_t{0};
    t.DefDelVal = byHands;
    return t;
  }
  std::vector<ProfileEntry> Recorded() const {
    const std::string path = ChoicesPath(folder_.dir());
    return Exists(path) ? ParseProfile(ReadBytes(path)).Entries : std::vector<ProfileEntry>{};
  }
  ScratchKey scratch_;
  TempFolder folder_;
};

ProfileEntry Entry(const char* name, ProfileStateKind kind, std::string value = {}) {
  return ProfileEntry{name, ProfileState{kind, std::move(value)}};
}

TEST_F(TweakSavingTest, EverySaveThatWentThroughIsRecorded) {
  const TTWREC sw = Reg("Switch", false), typed = Reg("Typed", true), none = Reg("No default", false);
  TTWREC noDefault = none;
  noDefault.DefValue = {};
  NoRightsRegistry noRights;
  const struct {
    const char* What;
    std::function<void()> Save;
    std::vector<ProfileEntry> Expected;
  } steps[] = {
      {"on", [&] { SaveTweakOfState(sw, 0, ""); }, {Entry("Switch", ProfileStateKind::kOn)}},
      {"typed", [&] { SaveTweakOfState(typed, 0, "0x10"); },
       {Entry("Switch", ProfileStateKind::kOn), Entry("Typed", ProfileStateKind::kValue, "16")}},
      {"off", [&] { SaveTweakOfState(sw, 1, ""); },
       {Entry("Switch", ProfileStateKind::kOff), Entry("Typed", ProfileStateKind::kValue, "16")}},
      {"default", [&] { EXPECT_TRUE(RestoreDefaultOfState(typed)); },
       {Entry("Switch", ProfileStateKind::kOff), Entry("Typed", ProfileStateKind::kDefault)}},
      {"no default", [&] { EXPECT_FALSE(RestoreDefaultOfState(noDefault)); },
       {Entry("Switch", ProfileStateKind::kOff), Entry("Typed", ProfileStateKind::kDefault)}},
      {"refused",
       [&] {
         Override<RegistryApi> refusing(Os().registry, &noRights);
         EXPECT_THROW(SaveTweakOfState(sw, 0, ""), ShownError);
         EXPECT_THROW(RestoreDefaultOfState(none), ShownError);
       },
       {Entry("Switch", ProfileStateKind::kOff), Entry("Typed", ProfileStateKind::kDefault)}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.What);
    step.Save();
    EXPECT_EQ(Recorded(), step.Expected);
    // The panel's choices are forgotten after each Save: the next field sees the file as it is.
    EXPECT_EQ(PanelChoices().Chosen(ChoicesPath(folder_.dir()), "switch"), step.Expected[0].State);
  }
  const int64_t reads = PanelChoices().FileReads();
  FindFirstEntry();
  PanelChoices().Chosen(ChoicesPath(folder_.dir()), "switch");
  EXPECT_EQ(PanelChoices().FileReads(), reads + 1) << "a listing forgets them too";
}

TEST_F(TweakSavingTest, AChoiceThatCannotBeRecordedDoesNotFailTheSave) {
  // A folder where the file should be: it can be neither read nor replaced.
  ASSERT_TRUE(Os().files->MakeDirectory(folder_.path("qzr_choices.txt")));
  const TTWREC sw = Reg("Switch", false);
  EXPECT_NO_THROW(SaveTweakOfState(sw, 0, ""));
  TVeskRegistry reg;
  ASSERT_TRUE(reg.OpenKey(sw.Path));
  EXPECT_EQ(reg.ReadInteger("Value"), 1);
}

}  // namespace
}  // namespace qzr::test
