// The settings file qzrtc.ini in IniDir: section "main", key "lang", the interface language.
#pragma once
#include <cstdint>
#include <string>

namespace qzr {

std::string SettingsFile();
// The stored language: 0 when the file, section or key is missing or not a number; low 8 bits.
uint8_t ReadLanguage();
// Writes the language as a decimal number, keeping the rest of the file.
void SaveLanguage(uint8_t language);

}  // namespace qzr
