// Opening a tweak: the current value read through each store, the read states, the on-test and
// the default-test, and what the apply dialog is filled with. Registry tweaks work on a scratch
// key below HKEY_CURRENT_USER (the real registry under Wine).
#include "apply/tweak_state.h"

#include "plugin/plugin_state.h"
#include "stores/vesk_registry.h"
#include "support/delegating_platform.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TTWREC RegDword(const std::string& sub) {
  TTWREC t;
  t.TweakName = "Switch";
  t.PlugType = kPlugReg;
  t.RootKey = kRootCurrentUser;
  t.Path = ScratchKey::Path(sub);
  t.VarName = "Value";
  t.DataType = kDataDword;
  t.ValueOn = int32_t{1};
  t.ValueOff = int32_t{0};
  t.DefValue = int32_t{1};
  return t;
}

void WriteRegistry(const TTWREC& t, const std::function<void(TVeskRegistry&)>& write) {
  TVeskRegistry reg;
  reg.SetRootKey(kHkeyCurrentUser);
  ASSERT_TRUE(reg.OpenKey(t.Path));
  write(reg);
}

class TweakStateTest : public PluginTest {
 protected:
  ScratchKey scratch_;
  TempFolder folder_;
};

TEST_F(TweakStateTest, RegistryReadStates) {
  TTWREC t = RegDword("a");
  CurrentValue missingKey = ReadCurrentValue(t);
  EXPECT_EQ(missingKey.State, ReadState::kKeyMissing);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(missingKey.Value));
  TVeskRegistry probe;
  EXPECT_FALSE(probe.KeyExists(t.Path)) << "reading creates nothing";

  WriteRegistry(t, [](TVeskRegistry&) {});
  CurrentValue missingValue = ReadCurrentValue(t);
  EXPECT_EQ(missingValue.State, ReadState::kValueMissing);
  EXPECT_EQ(missingValue.Value, TweakValue{int32_t{1}}) << "a missing value reads as the default";

  WriteRegistry(t, [](TVeskRegistry& r) { r.WriteInteger("Value", -1); });
  CurrentValue found = ReadCurrentValue(t);
  EXPECT_EQ(found.State, ReadState::kFound);
  EXPECT_EQ(found.Value, TweakValue{int32_t{-1}});
}

// Without the rights to change a key (HKEY_LOCAL_MACHINE for most users) its state still shows:
// reading asks for read rights only.
TEST_F(TweakStateTest, RegistryStateNeedsOnlyReadRights) {
  TTWREC t = RegDword("locked");
  WriteRegistry(t, [](TVeskRegistry& r) { r.WriteInteger("Value", 0); });
  NoRightsRegistry noRights;
  Override<RegistryApi> readOnly(Os().registry, &noRights);
  CurrentValue current = ReadCurrentValue(t);
  EXPECT_EQ(current.State, ReadState::kFound);
  EXPECT_EQ(current.Value, TweakValue{int32_t{0}}) << "the stored value, not the default";
  EXPECT_EQ(ReadCurrentValue(RegDword("missing")).State, ReadState::kKeyMissing);
}

TEST_F(TweakStateTest, RegistryStringAndBinaryValues) {
  TTWREC s = RegDword("s");
  s.DataType = kDataString;
  s.ValueOn = std::string("Yes");
  WriteRegistry(s, [](TVeskRegistry& r) { r.WriteString("Value", "yes"); });
  CurrentValue text = ReadCurrentValue(s);
  EXPECT_EQ(text.Value, TweakValue{std::string("yes")});
  EXPECT_FALSE(IsOn(s, text)) << "texts compare with letter case";

  TTWREC b = RegDword("b");
  b.DataType = kDataBin;
  b.DataSize = 4;
  b.ValueOn = TRaw{1, 2, 3, 4};
  b.DefValue = TRaw{0, 0, 0, 0};
  const uint8_t four[] = {1, 2, 3, 4};
  WriteRegistry(b, [&](TVeskRegistry& r) { r.WriteBinaryData("Value", four, 4); });
  CurrentValue bytes = ReadCurrentValue(b);
  EXPECT_TRUE(IsOn(b, bytes));
  ApplyDialogState shown = MakeApplyDialogState(b, bytes, kEnglish);
  EXPECT_EQ(shown.Value, "01020304");
  EXPECT_EQ(shown.RadioIndex, 0);

  const uint8_t six[] = {1, 2, 3, 4, 5, 6};
  WriteRegistry(b, [&](TVeskRegistry& r) { r.WriteBinaryData("Value", six, 6); });
  CurrentValue tooLong = ReadCurrentValue(b);
  EXPECT_EQ(MakeApplyDialogState(b, tooLong, kEnglish).Value, "00000000") << "larger data is not read";
  EXPECT_FALSE(IsOn(b, tooLong));

  b.ByHands = true;
  EXPECT_EQ(MakeApplyDialogState(b, CurrentValue{ReadState::kKeyMissing, {}}, kEnglish).Value, "")
      << "a BIN tweak without bytes shows an empty box";
}

TEST_F(TweakStateTest, IniReadStates) {
  TTWREC t;
  t.TweakName = "Ini";
  t.PlugType = kPlugIni;
  t.Path = folder_.path("a.ini");
  t.Section = "OPTIONS";
  t.VarName = "Fast";
  t.DataType = kDataDword;
  t.DefValue = int32_t{7};
  EXPECT_EQ(ReadCurrentValue(t).State, ReadState::kKeyMissing);
  WriteBytes(t.Path, "[Options]\r\nOther=1\r\n");
  CurrentValue missing = ReadCurrentValue(t);
  EXPECT_EQ(missing.State, ReadState::kValueMissing);
  EXPECT_EQ(missing.Value, TweakValue{int32_t{7}});
  WriteBytes(t.Path, "[Options]\r\nfast=0x10\r\n");
  CurrentValue found = ReadCurrentValue(t);
  EXPECT_EQ(found.State, ReadState::kFound);
  EXPECT_EQ(found.Value, TweakValue{int32_t{16}});
  t.DataType = kDataString;
  EXPECT_EQ(ReadCurrentValue(t).Value, TweakValue{std::string("0x10")});
}

TEST_F(TweakStateTest, CfgIsAlwaysFoundAndItsFileIsCreated) {
  TTWREC t;
  t.TweakName = "Cfg";
  t.PlugType = kPlugCfg;
  t.Path = folder_.path("game.cfg");
  t.VarName = "cache";
  t.DataType = kDataDword;
  t.DefValue = int32_t{64};
  CurrentValue fresh = ReadCurrentValue(t);
  EXPECT_EQ(fresh.State, ReadState::kFound);
  EXPECT_EQ(fresh.Value, TweakValue{int32_t{64}});
  EXPECT_TRUE(Exists(t.Path));
  WriteBytes(t.Path, "CACHE=128\n");
  EXPECT_EQ(ReadCurrentValue(t).Value, TweakValue{int32_t{128}});
  t.ValueOnDelVal = true;
  EXPECT_FALSE(IsOn(t, ReadCurrentValue(t))) << "a deleting on-value never tests on for CFG";
}

TEST(OnTest, DeletionFlagsMatchTheirReadState) {
  TTWREC t;
  t.DataType = kDataDword;
  t.ValueOn = int32_t{0};
  CurrentValue keyMissing{ReadState::kKeyMissing, {}};
  CurrentValue valueMissing{ReadState::kValueMissing, {}};
  CurrentValue zero{ReadState::kFound, int32_t{0}};
  EXPECT_TRUE(IsOn(t, zero));
  EXPECT_FALSE(IsOn(t, keyMissing));
  t.ValueOnDelVal = true;
  EXPECT_TRUE(IsOn(t, valueMissing));
  EXPECT_FALSE(IsOn(t, keyMissing)) << "a missing key is no deleted value";
  EXPECT_FALSE(IsOn(t, zero)) << "found values never test on when on means deleting";
  t.ValueOnDelVal = false;
  t.ValueOnDelKey = true;
  EXPECT_TRUE(IsOn(t, keyMissing));
  EXPECT_FALSE(IsOn(t, valueMissing));
}

TEST(DefaultTest, ValueOrMatchingDeletion) {
  TTWREC t;
  t.DataType = kDataDword;
  t.ValueOn = int32_t{1};
  t.DefValue = int32_t{1};
  EXPECT_TRUE(DefaultIsOn(t));
  t.DefValue = int32_t{0};
  EXPECT_FALSE(DefaultIsOn(t));
  t.DefDelVal = t.ValueOnDelVal = true;
  EXPECT_TRUE(DefaultIsOn(t));
  t.DefDelVal = false;
  t.DefDelKey = true;
  EXPECT_FALSE(DefaultIsOn(t));
  t.ValueOnDelKey = true;
  EXPECT_TRUE(DefaultIsOn(t));
  TTWREC empty;
  empty.DataType = kDataString;
  EXPECT_FALSE(DefaultIsOn(empty)) << "nothing equals nothing";
  // "#SYSDELVAL" stores the zero value: a deleted default is not the on-value 0, nor the reverse.
  TTWREC zero;
  zero.DataType = kDataDword;
  zero.ValueOn = int32_t{0};
  zero.DefValue = int32_t{0};
  zero.DefDelVal = true;
  EXPECT_FALSE(DefaultIsOn(zero));
  zero.DefDelVal = false;
  zero.ValueOnDelVal = true;
  EXPECT_FALSE(DefaultIsOn(zero));
}

TEST(ApplyDialogFill, YesNoDefaultByLanguageAndRawDefaultByHand) {
  TTWREC t;
  t.TweakName = "Name";
  t.DataType = kDataDword;
  t.ValueOn = int32_t{1};
  t.DefValue = int32_t{1};
  CurrentValue off{ReadState::kFound, int32_t{0}};
  ApplyDialogState en = MakeApplyDialogState(t, off, kEnglish);
  EXPECT_EQ(en.Memo, "Name");
  EXPECT_TRUE(en.RadioVisible);
  EXPECT_FALSE(en.ValueVisible);
  EXPECT_EQ(en.RadioIndex, 1);
  EXPECT_EQ(en.Value, "0") << "the value box is filled even when hidden";
  EXPECT_EQ(en.DefVal, "YES");
  EXPECT_EQ(MakeApplyDialogState(t, off, kRussian).DefVal, "ДА");
  EXPECT_EQ(MakeApplyDialogState(t, off, 5).DefVal, "") << "no text for another language";
  t.DefValue = int32_t{0};
  EXPECT_EQ(MakeApplyDialogState(t, off, kRussian).DefVal, "НЕТ");
  t.ByHands = true;
  ApplyDialogState typed = MakeApplyDialogState(t, CurrentValue{ReadState::kFound, int32_t{-1}}, kEnglish);
  EXPECT_FALSE(typed.RadioVisible);
  EXPECT_TRUE(typed.ValueVisible);
  EXPECT_EQ(typed.Value, "-1");
  EXPECT_EQ(typed.DefVal, "0");
  t.PlugType = 9;
  ApplyDialogState odd = MakeApplyDialogState(t, CurrentValue{}, kEnglish);
  EXPECT_EQ(odd.Memo, "Name");
  EXPECT_EQ(odd.Value, "");
}

}  // namespace
}  // namespace qzr::test
