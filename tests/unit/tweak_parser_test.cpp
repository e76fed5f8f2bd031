// The .tweak line parser: keywords, groups, values per data type and the BIN conversion.
#include <initializer_list>

#include "plugin/state_calls.h"
#include "definitions/tweak_parser.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TTWREC Parse(std::initializer_list<std::string_view> lines) {
  TTWREC r;
  for (std::string_view line : lines) ParseTweakLine(r, line);
  return r;
}

TRaw Bytes(std::initializer_list<uint8_t> b) { return TRaw(b); }

TEST(KeywordPos, FindsTheFirstOccurrenceWithoutRegardToCase) {
  EXPECT_EQ(KeywordPos("PATH>", "PATH> x"), 1);
  EXPECT_EQ(KeywordPos("PATH>", "  my path> x PATH> y"), 6);
  EXPECT_EQ(KeywordPos("TYPE>", "ValueType> DWORD"), 6);
  EXPECT_EQ(KeywordPos("//", "a // b // c"), 3);
  EXPECT_EQ(KeywordPos("PATH>", "PATH"), 0);
  EXPECT_EQ(KeywordPos("PATH>", ""), 0);
  EXPECT_EQ(KeywordPos("", "text"), 0);
  EXPECT_EQ(KeywordPos("\xC0>", "\xE0>"), 0) << "only ASCII letters are folded";
  // Overlaps and near misses around the keyword's last character, and a keyword ending in a letter.
  EXPECT_EQ(KeywordPos("//", "a ///b"), 3);
  EXPECT_EQ(KeywordPos("PATH>", "PAT> >PATH>PATH>"), 7);
  EXPECT_EQ(KeywordPos("PATH>", ">>>>"), 0);
  EXPECT_EQ(KeywordPos("OS", "dos os"), 2);
  EXPECT_EQ(KeywordPos("PATH>", std::string_view("x\0PATH>", 7)), 3) << "a NUL byte is text like any other";
}

TEST(ParseTweakLine, ThreeDocumentedExamples) {
  TTWREC reg = Parse({"TWEAKNAME> Show extensions of known file types", "TYPE> REG", "OS> NT", "ROOTKEY> HKCU",
                      "PATH> Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                      "VALUENAME> HideFileExt", "VALUETYPE> DWORD", "VALUEON> 0", "VALUEOFF> 1", "DEFAULT> 1"});
  EXPECT_EQ(reg.TweakName, "Show extensions of known file types");
  EXPECT_EQ(reg.PlugType, kPlugReg);
  EXPECT_EQ(reg.OSKind, kOSNT);
  EXPECT_EQ(reg.RootKey, kRootCurrentUser);
  EXPECT_EQ(reg.DataType, kDataDword);
  EXPECT_EQ(reg.Path, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
  EXPECT_EQ(reg.VarName, "HideFileExt");
  EXPECT_EQ(reg.ValueOn, TweakValue(0));
  EXPECT_EQ(reg.ValueOff, TweakValue(1));
  EXPECT_EQ(reg.DefValue, TweakValue(1));
  EXPECT_FALSE(reg.ValueOnDelVal || reg.ValueOnDelKey || reg.ValueOffDelVal || reg.ValueOffDelKey ||
               reg.DefDelVal || reg.DefDelKey);

  ScopedEnv windir("WINDIR", "C:\\WINDOWS");
  TTWREC ini = Parse({"TWEAKNAME> Example INI switch", "TYPE> INI", "PATH> %WINDIR%\\example.ini", "SECTION> Options",
                      "VALUENAME> Fast", "VALUETYPE> STRING", "VALUEON> yes", "VALUEOFF> #SYSDELVAL",
                      "DEFAULT> #SYSDELVAL"});
  EXPECT_EQ(ini.PlugType, kPlugIni);
  EXPECT_EQ(ini.Path, "C:\\WINDOWS\\example.ini");
  EXPECT_EQ(ini.Section, "OPTIONS");
  EXPECT_EQ(ini.ValueOn, TweakValue(std::string("yes")));
  EXPECT_EQ(ini.ValueOff, TweakValue(std::string()));
  EXPECT_EQ(ini.DefValue, TweakValue(std::string()));
  EXPECT_TRUE(ini.ValueOffDelVal);
  EXPECT_TRUE(ini.DefDelVal);
  EXPECT_FALSE(ini.ValueOnDelVal || ini.ValueOffDelKey || ini.DefDelKey);
  EXPECT_EQ(ini.OSKind, kOSAny);

  TTWREC bin = Parse({"TWEAKNAME> Example byte-array value", "ROOTKEY> HKLM", "PATH> Software\\Example",
                      "VALUENAME> Flags", "VALUETYPE> BIN", "SIZE> 4", "VALUEON> 01000000", "VALUEOFF> 00000000",
                      "NOTBOOL> 0"});
  EXPECT_EQ(bin.PlugType, kPlugReg);
  EXPECT_EQ(bin.RootKey, kRootLocalMachine);
  EXPECT_EQ(bin.DataType, kDataBin);
  EXPECT_EQ(bin.DataSize, 4);
  EXPECT_EQ(bin.ValueOn, TweakValue(Bytes({1, 0, 0, 0})));
  EXPECT_EQ(bin.ValueOff, TweakValue(Bytes({0, 0, 0, 0})));
  EXPECT_EQ(bin.DefValue, TweakValue()) << "no DEFAULT> line";
  EXPECT_FALSE(bin.ByHands);
}

TEST(ParseTweakLine, KeywordsAnywhereInAnyCaseWithTrimmedValues) {
  TTWREC r = Parse({"tweakname>   Spaced name \t ", "some text before PATH>Software\\X", "ValueName>\tName With Case"});
  EXPECT_EQ(r.TweakName, "Spaced name");
  EXPECT_EQ(r.Path, "Software\\X");
  EXPECT_EQ(r.VarName, "Name With Case");
  EXPECT_EQ(Parse({"PATH> Software\\X"}).Path, Parse({"PATH>Software\\X"}).Path);
  EXPECT_EQ(Parse({"PATH> a", "PATH> b"}).Path, "b") << "a later line overwrites";
  EXPECT_EQ(Parse({"SECTION> Mixed Case ]"}).Section, "MIXED CASE ]");
  EXPECT_EQ(Parse({""}), TTWREC{}) << "an empty line changes nothing";
  EXPECT_EQ(Parse({"no keyword at all", "PATH>", "TWEAKNAME>   "}), TTWREC{})
      << "a keyword without value gives the empty value";
}

TEST(ParseTweakLine, StoreOsTypeAndRootWords) {
  EXPECT_EQ(Parse({"TYPE> cfg"}).PlugType, kPlugCfg);
  EXPECT_EQ(Parse({"TYPE> INI", "TYPE> XML"}).PlugType, kPlugIni) << "an unknown store word changes nothing";
  EXPECT_EQ(Parse({"TYPE> INI file"}).PlugType, kPlugReg) << "the whole value must be the word";
  EXPECT_EQ(Parse({"OS> 9x"}).OSKind, kOS9x);
  EXPECT_EQ(Parse({"OS> NT", "OS> XP"}).OSKind, kOSNT);
  EXPECT_EQ(Parse({"VALUETYPE> dword"}).DataType, kDataDword);
  EXPECT_EQ(Parse({"VALUETYPE> String"}).DataType, kDataString);
  EXPECT_EQ(Parse({"VALUETYPE> DWORD", "VALUETYPE> QWORD"}).DataType, kDataNone) << "an unknown type word resets";
  TTWREC t = Parse({"TYPE> INI", "VALUETYPE> DWORD"});
  EXPECT_EQ(t.PlugType, kPlugIni) << "VALUETYPE> is seen by the TYPE> rule but names no store";
  EXPECT_EQ(Parse({"ROOTKEY> hkcu"}).RootKey, kRootCurrentUser);
  EXPECT_EQ(Parse({"ROOTKEY> HKU"}).RootKey, kRootUsers);
  EXPECT_EQ(Parse({"ROOTKEY> HKCR"}).RootKey, kRootClassesRoot);
  EXPECT_EQ(Parse({"ROOTKEY> HKCU", "ROOTKEY> HKLM"}).RootKey, kRootLocalMachine);
  EXPECT_EQ(Parse({"ROOTKEY> HKEY_LOCAL_MACHINE"}).RootKey, kRootUnknown);
  EXPECT_EQ(Parse({"ROOTKEY> HKCC"}).RootKey, kRootUnknown) << "no word gives HKEY_CURRENT_CONFIG";
  EXPECT_EQ(Parse({"PATH> x"}).RootKey, kRootLocalMachine);
  EXPECT_TRUE(Parse({"NOTBOOL> 1"}).ByHands);
  EXPECT_FALSE(Parse({"NOTBOOL> 1", "NOTBOOL> yes"}).ByHands);
  EXPECT_FALSE(Parse({"NOTBOOL> 01"}).ByHands);
}

TEST(ParseTweakLine, OneLineActsThroughOneKeywordOfEachGroup) {
  TTWREC r = Parse({"VALUETYPE> DWORD", "TweakName> Fast VALUEON> 1"});
  EXPECT_EQ(r.TweakName, "Fast VALUEON> 1") << "the name runs to the end of the line";
  EXPECT_EQ(r.ValueOn, TweakValue(1)) << "and the value keyword acts too";

  TTWREC first = Parse({"PATH> p OS> NT"});
  EXPECT_EQ(first.OSKind, kOSNT) << "OS> is tested before PATH>";
  EXPECT_EQ(first.Path, "");

  TTWREC both = Parse({"SECTION> s TYPE> INI"});
  EXPECT_EQ(both.Section, "S TYPE> INI");
  EXPECT_EQ(both.PlugType, kPlugIni) << "both keywords of the first group act";

  TTWREC values = Parse({"VALUETYPE> DWORD", "DEFAULT> 5 VALUEON> 7"});
  EXPECT_EQ(values.ValueOn, TweakValue(7)) << "VALUEON> is tested before DEFAULT>";
  EXPECT_EQ(values.DefValue, TweakValue());
}

TEST(ParseTweakLine, ValuesFollowTheDataTypeInForceWhenRead) {
  TTWREC early = Parse({"VALUEON> 1", "VALUETYPE> DWORD", "VALUEOFF> 0"});
  EXPECT_EQ(early.ValueOn, TweakValue()) << "read before the type: nothing";
  EXPECT_EQ(early.ValueOff, TweakValue(0));

  TTWREC dword = Parse({"VALUETYPE> DWORD", "VALUEON> $10", "VALUEOFF> 0x10", "DEFAULT> 12abc"});
  EXPECT_EQ(dword.ValueOn, TweakValue(16));
  EXPECT_EQ(dword.ValueOff, TweakValue(16));
  EXPECT_EQ(dword.DefValue, TweakValue(0));
  EXPECT_EQ(Parse({"VALUETYPE> DWORD", "VALUEON> $FFFFFFFF"}).ValueOn, TweakValue(-1));
  EXPECT_EQ(Parse({"VALUETYPE> DWORD", "VALUEON> -12"}).ValueOn, TweakValue(-12));

  EXPECT_EQ(Parse({"VALUETYPE> STRING", "VALUEON>  Mixed Case Text "}).ValueOn,
            TweakValue(std::string("Mixed Case Text")));

  TTWREC switched = Parse({"VALUETYPE> STRING", "VALUEON> 1", "VALUETYPE> DWORD", "VALUEOFF> 1"});
  EXPECT_EQ(switched.ValueOn, TweakValue(std::string("1")));
  EXPECT_EQ(switched.ValueOff, TweakValue(1));
}

TEST(ParseTweakLine, SysWordsSetTheirFlagAndStoreTheZeroOfTheType) {
  TTWREC dword = Parse({"VALUETYPE> DWORD", "VALUEON> 5", "VALUEON> #sysdelkey", "DEFAULT> #SysDelVal"});
  EXPECT_TRUE(dword.ValueOnDelKey);
  EXPECT_FALSE(dword.ValueOnDelVal);
  EXPECT_EQ(dword.ValueOn, TweakValue(0));
  EXPECT_TRUE(dword.DefDelVal);
  EXPECT_EQ(dword.DefValue, TweakValue(0));

  TTWREC sticky = Parse({"VALUETYPE> DWORD", "VALUEOFF> #SYSDELVAL", "VALUEOFF> 3"});
  EXPECT_TRUE(sticky.ValueOffDelVal) << "the flags are never cleared";
  EXPECT_EQ(sticky.ValueOff, TweakValue(3));

  TTWREC untyped = Parse({"VALUEON> #SYSDELKEY", "VALUEOFF> #SYSDELVAL"});
  EXPECT_TRUE(untyped.ValueOnDelKey);
  EXPECT_TRUE(untyped.ValueOffDelVal);
  EXPECT_EQ(untyped.ValueOn, TweakValue()) << "without a type only the flag is set";

  TTWREC bin = Parse({"VALUETYPE> BIN", "SIZE> 2", "DEFAULT> #SYSDELKEY"});
  EXPECT_EQ(bin.DefValue, TweakValue(Bytes({0, 0})));
  TTWREC wide = Parse({"VALUETYPE> BIN", "SIZE> 6", "DEFAULT> #SYSDELVAL"});
  EXPECT_EQ(wide.DefValue, TweakValue(Bytes({0, 0, 0, 0, 0, 0})));

  EXPECT_FALSE(Parse({"VALUETYPE> DWORD", "VALUEON> #SYSDELKEY now"}).ValueOnDelKey)
      << "the word must be the whole value";
}

TEST(ParseTweakLine, BinValuesTakeTheSizeInForce) {
  TTWREC r = Parse({"VALUETYPE> BIN", "SIZE> 4", "VALUEON> 0A0b", "VALUEOFF> 1", "DEFAULT> 01 02"});
  EXPECT_EQ(r.ValueOn, TweakValue(Bytes({0x0A, 0x0B, 0, 0})));
  EXPECT_EQ(r.ValueOff, TweakValue(Bytes({1, 0, 0, 0})));
  EXPECT_EQ(r.DefValue, TweakValue(Bytes({1, 0, 2, 0}))) << "a blank spoils the pair it falls in";

  TTWREC early = Parse({"VALUETYPE> BIN", "VALUEON> 0102", "SIZE> 2"});
  EXPECT_EQ(early.ValueOn, TweakValue(TRaw{})) << "before SIZE> there is no room for any byte";
  EXPECT_EQ(Parse({"SIZE> $10"}).DataSize, 16);
  EXPECT_EQ(Parse({"SIZE> 4", "SIZE> four"}).DataSize, 0);
}

TEST(HexToRaw, PairsFromTheLeftIntoExactlyDataSizeBytes) {
  EXPECT_EQ(HexToRaw("", 4), TRaw{});
  EXPECT_EQ(HexToRaw("ff", 0), TRaw{});
  EXPECT_EQ(HexToRaw("FFfe01", 3), Bytes({0xFF, 0xFE, 0x01}));
  EXPECT_EQ(HexToRaw("0102030405", 2), Bytes({1, 2})) << "pairs beyond the size are dropped";
  EXPECT_EQ(HexToRaw("123", 3), Bytes({0x12, 0x03, 0}));
  EXPECT_EQ(HexToRaw("zz10g1", 3), Bytes({0, 0x10, 0}));
  EXPECT_EQ(HexToRaw("-1+1$1", 3), Bytes({0, 0, 0})) << "signs and prefixes are no digits";
  EXPECT_EQ(HexToRaw("01", -1), TRaw{}) << "a negative size gives no bytes";
  EXPECT_EQ(HexToRaw("01", kMaxBinSize).size(), static_cast<size_t>(kMaxBinSize));
  EXPECT_EQ(HexToRaw("01", kMaxBinSize + 1), TRaw{}) << "a size above the bound allocates nothing";
  EXPECT_EQ(HexToRaw("01", INT32_MAX), TRaw{});
}

class CurrentRecordTest : public PluginTest {};

TEST_F(CurrentRecordTest, ParseAndHexToRawWorkOnTheRecordBeingFilled) {
  ParseTweakLine("PATH> nowhere");
  EXPECT_TRUE(State().TweakTable.empty()) << "no record is being filled";
  EXPECT_EQ(HexToRaw("01"), TRaw{});

  State().TweakTable.resize(2);
  State().TweakPos = 2;
  ParseTweakLine("VALUETYPE> BIN");
  ParseTweakLine("SIZE> 2");
  EXPECT_EQ(HexToRaw("0102"), Bytes({1, 2}));
  ParseTweakLine("VALUEON> 0A");
  EXPECT_EQ(State().TweakTable[1].ValueOn, TweakValue(Bytes({0x0A, 0})));
  EXPECT_EQ(State().TweakTable[0], TTWREC{});
}

}  // namespace
}  // namespace qzr::test
