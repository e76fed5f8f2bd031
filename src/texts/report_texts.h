// The texts of the definition report that copying a tweak out writes: its first two lines and
// the block of the other sixteen, one format per language. UTF-8 here; the report file gets them
// as Windows-1251 bytes.
#pragma once
#include "texts/texts.h"

namespace qzr::texts {

inline constexpr Bilingual kReportNameLine{"Plugin name: %s", "Наименование плагина: %s"};
inline constexpr Bilingual kReportLocationLine{"Plugin location: %s", "Расположение плагина: %s"};
inline constexpr Bilingual kReportBlock{
    "Plugin type: %d\r\nData type: %d\r\nRoot folder: %d\r\nOS: %d\r\nPath: %s\r\nValue ON: %s\r\n"
    "Value ON MDV: %s\r\nValue ON MDK: %s\r\nValue OFF: %s\r\nValue OFF MDV: %s\r\nValue OFF MDK: %s\r\n"
    "Var name: %s\r\nSection: %s\r\nBy hands: %s\r\nDescription: %s\r\nData size: %s",
    "Тип плагина: %d\r\nТип данных: %d\r\nКорневая ветка: %d\r\nОС: %d\r\nПуть: %s\r\nValue ON: %s\r\n"
    "Value ON MDV: %s\r\nValue ON MDK: %s\r\nValue OFF: %s\r\nValue OFF MDV: %s\r\nValue OFF MDK: %s\r\n"
    "Имя переменной: %s\r\nСекция: %s\r\nРучной ввод значения: %s\r\nОписание: %s\r\nРазмер данных: %s"};

}  // namespace qzr::texts
