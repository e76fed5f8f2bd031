// Profiles: every name the listing can hold round-trips, hand edits are read, malformed lines are
// reported by number; a tweak's state as a profile keeps it, and whether a live state shows it.
#include "commands/profile_file.h"

#include <gtest/gtest.h>

namespace qzr::test {
namespace {

using K = ProfileStateKind;

ProfileEntry Entry(std::string name, K kind, std::string value = {}) {
  return ProfileEntry{std::move(name), ProfileState{kind, std::move(value)}};
}

TEST(ProfileFileTest, WrittenAsAPersonReadsIt) {
  const std::vector<ProfileEntry> entries = {Entry("Explorer - Show extensions", K::kOn),
                                             Entry("Say \"hi\" = x", K::kValue, " 400 ")};
  EXPECT_EQ(FormatProfile({"QZR_TC profile", "written 2026-12-09"}, entries),
            "; QZR_TC profile\r\n; written 2026-12-09\r\n"
            "\"Explorer - Show extensions\" = on\r\n"
            "\"Say \"\"hi\"\" = x\" = \" 400 \"\r\n");
}

TEST(ProfileFileTest, RoundTrip) {
  const std::vector<ProfileEntry> entries = {
      Entry("a = b", K::kOn),
      Entry(" blanks at the ends ", K::kOff),
      Entry("; not a comment", K::kDefault),
      Entry("\"quoted\" \"\"", K::kValue, "\"v\""),
      Entry("\xCC\xFB\xF8\xFC - \xE7\xE0\xE4\xE5\xF0\xE6\xEA\xE0", K::kValue, "\xC4\xE0"),  // Cyrillic CP1251
      Entry("=", K::kValue, "  both ends  "),
      Entry("empty value", K::kValue, ""),
      Entry("on", K::kValue, "off"),
  };
  std::vector<std::string> leftOut;
  const ParsedProfile parsed = ParseProfile(FormatProfile({"header; with = and \""}, entries, &leftOut));
  EXPECT_EQ(parsed.Entries, entries);
  EXPECT_TRUE(parsed.Faults.empty());
  EXPECT_TRUE(leftOut.empty());
  EXPECT_EQ(parsed.EntryLines, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(ProfileFileTest, WhatNoLineHoldsIsLeftOut) {
  std::vector<std::string> leftOut;
  const std::string text = FormatProfile(
      {}, {Entry("a", K::kValue, "two\r\nlines"), Entry("b", K::kOn), Entry(std::string("z\0", 2), K::kOff)},
      &leftOut);
  EXPECT_EQ(text, "\"b\" = on\r\n");
  EXPECT_EQ(leftOut, (std::vector<std::string>{"a", std::string("z\0", 2)}));
}

TEST(ProfileFileTest, HandEditsAndMalformedLines) {
  const std::string text =
      "\xEF\xBB\xBF; a comment\n"                  // 1: byte-order mark, LF ends
      "  Explorer - Show extensions=ON\r"          // 2: unquoted name, CR end, any case
      "\r\n"                                       // 3: blank
      "\t\"Mouse\"\t=\t\"400\"\t\r\n"              // 4: tabs around
      "   ; indented comment\r\n"                  // 5
      "\"x\" = Default\r\n"                        // 6
      "\"x\" = maybe\r\n"                          // 7: no state word
      "\"x\" = 400\r\n"                            // 8: a value must be quoted
      "no equals sign\r\n"                         // 9
      "\"open = on\r\n"                            // 10: unclosed quote
      "\"x\" = \"v\" trailing\r\n"                 // 11
      " = on\r\n"                                  // 12: no name
      "\"\" = on\r\n"                              // 13: empty name
      "un\"quoted = on\r\n"                        // 14: a quote in an unquoted name
      "\"y\" \"z\" = on\r\n"                       // 15
      "\"last\" = off";                            // 16: no line end
  const ParsedProfile parsed = ParseProfile(text);
  EXPECT_EQ(parsed.Entries, (std::vector<ProfileEntry>{Entry("Explorer - Show extensions", K::kOn),
                                                       Entry("Mouse", K::kValue, "400"), Entry("x", K::kDefault),
                                                       Entry("last", K::kOff)}));
  EXPECT_EQ(parsed.EntryLines, (std::vector<int>{2, 4, 6, 16}));
  std::vector<int> faultLines;
  for (const ProfileLineFault& f : parsed.Faults) faultLines.push_back(f.LineNumber);
  EXPECT_EQ(faultLines, (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14, 15}));
  ASSERT_FALSE(parsed.Faults.empty());
  EXPECT_EQ(parsed.Faults[0].Line, "\"x\" = maybe");
}

// Tweak shapes: a switch, and values typed by hand of each type, in each store.
TTWREC Tweak(uint8_t plug, uint8_t type, bool byHands) {
  TTWREC t;
  t.PlugType = plug;
  t.DataType = type;
  t.ByHands = byHands;
  t.DataSize = 2;
  if (type == kDataDword) {
    t.ValueOn = int32_t{1};
    t.ValueOff = int32_t{0};
    t.DefValue = int32_t{400};
  } else if (type == kDataString) {
    t.ValueOn = std::string("yes");
    t.ValueOff = t.DefValue = std::string("no");
  } else {
    t.ValueOn = TRaw{1, 0};
    t.ValueOff = TRaw{0, 0};
    t.DefValue = TRaw{0x0A, 0xFF};
  }
  return t;
}

TTWREC DeletingDefault(TTWREC t, bool key) {
  (key ? t.DefDelKey : t.DefDelVal) = true;
  if (t.DataType == kDataString)
    t.DefValue = std::string();
  else
    t.DefValue = int32_t{0};
  return t;
}

CurrentValue Found(TweakValue v) { return CurrentValue{ReadState::kFound, std::move(v)}; }

struct StateCase {
  const char* What;
  TTWREC Tweak;
  CurrentValue Current;
  ProfileState Expected;
  ProfileState Chosen;  // one more state it shows
  ProfileState Other;   // one it does not
};

TEST(ProfileFileTest, StatesOfTweaks) {
  const ProfileState on{K::kOn, {}}, off{K::kOff, {}}, dflt{K::kDefault, {}};
  auto value = [](std::string v) { return ProfileState{K::kValue, std::move(v)}; };
  const TTWREC regSwitch = Tweak(kPlugReg, kDataDword, false);
  const TTWREC regTyped = Tweak(kPlugReg, kDataDword, true);
  const TTWREC iniSwitch = Tweak(kPlugIni, kDataString, false);
  const TTWREC binTyped = Tweak(kPlugReg, kDataBin, true);
  const StateCase cases[] = {
      {"reg switch on", regSwitch, Found(int32_t{1}), on, on, off},
      {"reg switch off, default is off", regSwitch, Found(int32_t{0}), off, dflt, on},
      {"reg switch key missing", regSwitch, CurrentValue{}, off, off, value("1")},
      {"ini switch on", iniSwitch, Found(std::string("yes")), on, on, dflt},
      {"ini switch off", iniSwitch, Found(std::string("no")), off, dflt, on},
      {"cfg switch on", Tweak(kPlugCfg, kDataDword, false), Found(int32_t{1}), on, on, off},
      {"typed number", regTyped, Found(int32_t{250}), value("250"), value("0xFA"), value("25O")},
      {"typed number at default", regTyped, Found(int32_t{400}), value("400"), dflt, value("401")},
      {"typed number, value missing", regTyped, CurrentValue{ReadState::kValueMissing, int32_t{400}}, value("400"),
       dflt, on},
      {"typed number, key missing", regTyped, CurrentValue{}, dflt, dflt, value("")},
      {"typed text", Tweak(kPlugIni, kDataString, true), Found(std::string(" a ")), value(" a "), value(" a "),
       value("a")},
      {"typed bytes", binTyped, Found(TRaw{0xAB, 0x01, 0}), value("AB01"), value("ab01"), value("AB02")},
      {"typed bytes at default", binTyped, Found(TRaw{0x0A, 0xFF, 0}), value("0AFF"), dflt, value("0B00")},
      {"value deleted by default", DeletingDefault(regTyped, false),
       CurrentValue{ReadState::kValueMissing, int32_t{0}}, dflt, dflt, value("0")},
      {"key deleted by default", DeletingDefault(Tweak(kPlugIni, kDataString, true), true), CurrentValue{}, dflt,
       dflt, value("")},
      {"key deleted by default, value missing", DeletingDefault(regTyped, true),
       CurrentValue{ReadState::kValueMissing, int32_t{0}}, value("0"), value("0"), dflt},
      {"cfg reads a deleted key as the default's value", DeletingDefault(Tweak(kPlugCfg, kDataDword, true), false),
       Found(int32_t{0}), value("0"), dflt, value("1")},
  };
  for (const StateCase& c : cases) {
    SCOPED_TRACE(c.What);
    const ProfileState live = ProfileStateOf(c.Tweak, c.Current);
    EXPECT_EQ(live, c.Expected);
    EXPECT_TRUE(ShowsState(c.Tweak, live, live));
    EXPECT_TRUE(ShowsState(c.Tweak, c.Chosen, live));
    EXPECT_FALSE(ShowsState(c.Tweak, c.Other, live));
  }
}

}  // namespace
}  // namespace qzr::test
