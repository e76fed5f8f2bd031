// The definition report. Lines 3 to 18 come from one format per language; values are written
// with the bytes the definition held.
#include "definitions/report.h"

#include "texts/texts.h"
#include "definitions/value_text.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr Bilingual kNameLine{"Plugin name: %s", "Наименование плагина: %s"};
constexpr Bilingual kLocationLine{"Plugin location: %s", "Расположение плагина: %s"};
constexpr Bilingual kBlock{
    "Plugin type: %d\r\nData type: %d\r\nRoot folder: %d\r\nOS: %d\r\nPath: %s\r\nValue ON: %s\r\n"
    "Value ON MDV: %s\r\nValue ON MDK: %s\r\nValue OFF: %s\r\nValue OFF MDV: %s\r\nValue OFF MDK: %s\r\n"
    "Var name: %s\r\nSection: %s\r\nBy hands: %s\r\nDescription: %s\r\nData size: %s",
    "Тип плагина: %d\r\nТип данных: %d\r\nКорневая ветка: %d\r\nОС: %d\r\nПуть: %s\r\nValue ON: %s\r\n"
    "Value ON MDV: %s\r\nValue ON MDK: %s\r\nValue OFF: %s\r\nValue OFF MDV: %s\r\nValue OFF MDK: %s\r\n"
    "Имя переменной: %s\r\nСекция: %s\r\nРучной ввод значения: %s\r\nОписание: %s\r\nРазмер данных: %s"};

const char* Flag(bool set) { return set ? "True" : "False"; }

}  // namespace

std::string DefinitionReport(const TTWREC& t, uint8_t language) {
  if (language != kEnglish && language != kRussian) return {};
  std::string report;
  report += Format(kNameLine.PickCp1251(language), {t.TweakName}) + "\r\n";
  report += Format(kLocationLine.PickCp1251(language), {t.Location}) + "\r\n";
  report += Format(kBlock.PickCp1251(language),
                   {std::to_string(t.PlugType), std::to_string(t.DataType), std::to_string(t.RootKey),
                    std::to_string(t.OSKind), t.Path, ValueToText(t.ValueOn, t.DataSize), Flag(t.ValueOnDelVal),
                    Flag(t.ValueOnDelKey), ValueToText(t.ValueOff, t.DataSize), Flag(t.ValueOffDelVal),
                    Flag(t.ValueOffDelKey), t.VarName, t.Section, Flag(t.ByHands), t.TweakName,
                    std::to_string(t.DataSize)}) +
            "\r\n";
  return report;
}

}  // namespace qzr
