// The definition report copied out of the panel: exact bytes in both languages, an empty file
// for another language value, and the copy's outcomes.
#include "plugin/file_ops.h"
#include "plugin/plugin_state.h"
#include "definitions/report.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TTWREC RegTweak() {
  TTWREC t;
  t.TweakName = "Show extensions of known file types";
  t.Location = "C:\\tc\\qzr_plugins\\hide_ext.tweak";
  t.PlugType = kPlugReg;
  t.DataType = kDataDword;
  t.RootKey = kRootCurrentUser;
  t.OSKind = kOSNT;
  t.Path = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  t.VarName = "HideFileExt";
  t.ValueOn = int32_t{0};
  t.ValueOff = int32_t{1};
  t.DefValue = int32_t{1};
  return t;
}

TTWREC IniTweak() {
  TTWREC t;
  t.TweakName = "Example INI switch";
  t.Location = "C:\\tc\\qzr_plugins\\example ini.tweak";
  t.PlugType = kPlugIni;
  t.DataType = kDataString;
  t.Path = "C:\\WINDOWS\\example.ini";
  t.Section = "OPTIONS";
  t.VarName = "Fast";
  t.ValueOn = std::string("yes");
  t.ValueOff = std::string();
  t.ValueOffDelVal = true;
  t.DefDelVal = true;
  return t;
}

TTWREC CfgTweak() {
  TTWREC t;
  t.TweakName = "Cache size";
  t.Location = "C:\\tc\\qzr_plugins\\cache.tweak";
  t.PlugType = kPlugCfg;
  t.DataType = kDataDword;
  t.Path = "C:\\Games\\game.cfg";
  t.VarName = "cache";
  t.ByHands = true;
  t.ValueOnDelKey = true;
  t.ValueOn = int32_t{0};
  t.DefValue = int32_t{-64};
  return t;
}

TTWREC BinTweak() {
  TTWREC t;
  t.TweakName = "Example byte-array value";
  t.Path = "Software\\Example";
  t.VarName = "Flags";
  t.DataType = kDataBin;
  t.DataSize = 4;
  t.ValueOn = TRaw{0x01, 0x00, 0x0A, 0xFF};
  return t;
}

TEST(Report, GoldenBytesInBothLanguages) {
  struct Case {
    TTWREC tweak;
    const char* golden;
  } cases[] = {{RegTweak(), "reg"}, {IniTweak(), "ini"}, {CfgTweak(), "cfg"}, {BinTweak(), "bin"}};
  for (const Case& c : cases) {
    for (auto [language, suffix] : {std::pair{kEnglish, "en"}, std::pair{kRussian, "ru"}}) {
      std::string golden = SourcePath(std::string("tests/golden/report/") + c.golden + "_" + suffix + ".txt");
      EXPECT_EQ(DefinitionReport(c.tweak, language), ReadBytes(golden)) << golden;
    }
  }
}

TEST(Report, EighteenLinesEachEndedByCrLf) {
  std::string report = DefinitionReport(RegTweak(), kEnglish);
  size_t lines = 0;
  for (size_t pos = 0; (pos = report.find("\r\n", pos)) != std::string::npos; pos += 2) ++lines;
  EXPECT_EQ(lines, 18u);
  EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
  EXPECT_EQ(report.find('\n'), report.find("\r\n") + 1);
  EXPECT_EQ(DefinitionReport(RegTweak(), 2), "") << "no text for another language";
}

class CopyOutTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginState& s = State();
    s.TweakTable = {RegTweak()};
    s.TweakPos = 1;
    s.XArc = std::make_shared<TXARC>();
    s.XArc->Opened = true;
    s.XArc->LoadNames();
  }
  std::string remote_ = std::string(1, kPathDelim) + "Show extensions of known file types.";
  TempFolder folder_;
};

TEST_F(CopyOutTest, WritesTheReportAndReplacesAnExistingTarget) {
  std::string target = folder_.path("report.txt");
  WriteBytes(target, std::string(5000, 'x'));
  EXPECT_EQ(CopyReportOut(remote_, target), CopyOutcome::kDone);
  EXPECT_EQ(ReadBytes(target), DefinitionReport(RegTweak(), kEnglish));
  State().Language = kRussian;
  EXPECT_EQ(CopyReportOut(remote_, target), CopyOutcome::kDone);
  EXPECT_EQ(ReadBytes(target), DefinitionReport(RegTweak(), kRussian));
  State().Language = 7;
  EXPECT_EQ(CopyReportOut(remote_, target), CopyOutcome::kDone);
  EXPECT_EQ(ReadBytes(target), "");
  EXPECT_EQ(ListFolder(folder_.dir()), std::vector<std::string>{"report.txt"}) << "no temporary file is left";
}

TEST_F(CopyOutTest, UnknownNameAndUnwritableTarget) {
  std::string d(1, kPathDelim);
  EXPECT_EQ(CopyReportOut(d + "nothing.", folder_.path("a.txt")), CopyOutcome::kNotFound);
  EXPECT_FALSE(Exists(folder_.path("a.txt")));
  EXPECT_EQ(CopyReportOut(remote_, folder_.path("missing") + d + "a.txt"), CopyOutcome::kWriteError);
  // A read-only target keeps its contents.
  std::string locked = folder_.path("locked.txt");
  WriteBytes(locked, "keep");
  ASSERT_TRUE(Os().files->SetAttributes(locked, win::kAttrReadOnly));
  EXPECT_EQ(CopyReportOut(remote_, locked), CopyOutcome::kWriteError);
  EXPECT_EQ(ReadBytes(locked), "keep");
  Os().files->SetAttributes(locked, win::kAttrNormal);
}

}  // namespace
}  // namespace qzr::test
