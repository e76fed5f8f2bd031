// The definition report. Lines 3 to 18 come from one format per language; values are written
// with the bytes the definition held; the copy's location, path text, as the ANSI code page spells it.
#include "definitions/report.h"

#include "base/path_text.h"
#include "definitions/value_text.h"
#include "texts/report_texts.h"
#include "util/text.h"

namespace qzr {
namespace {

const char* Flag(bool set) { return set ? "True" : "False"; }

}  // namespace

std::string DefinitionReport(const TTWREC& t, uint8_t language) {
  if (language != kEnglish && language != kRussian) return {};
  std::string report;
  report += Format(texts::kReportNameLine.PickCp1251(language), {t.TweakName}) + "\r\n";
  report += Format(texts::kReportLocationLine.PickCp1251(language), {AnsiOfPath(t.Location)}) + "\r\n";
  report += Format(texts::kReportBlock.PickCp1251(language),
                   {std::to_string(t.PlugType), std::to_string(t.DataType), std::to_string(t.RootKey),
                    std::to_string(t.OSKind), t.Path, ValueToText(t.ValueOn, t.DataSize), Flag(t.ValueOnDelVal),
                    Flag(t.ValueOnDelKey), ValueToText(t.ValueOff, t.DataSize), Flag(t.ValueOffDelVal),
                    Flag(t.ValueOffDelKey), t.VarName, t.Section, Flag(t.ByHands), t.TweakName,
                    std::to_string(t.DataSize)}) +
            "\r\n";
  return report;
}

}  // namespace qzr
