// The panel's column texts.
#include "apply/tweak_fields.h"

#include "platform/platform.h"
#include "texts/dialog_texts.h"
#include "texts/field_texts.h"

namespace qzr {
namespace {

std::string Ansi(std::string_view utf8) { return Os().system->Utf8ToAnsi(std::string(utf8)); }
// Names and paths of the definitions are in the ANSI code page.
std::string Utf8(const std::string& ansi) { return Os().system->AnsiToUtf8(ansi); }

const char* ShortRootName(uint8_t code) {
  switch (code) {
    case kRootLocalMachine: return "HKLM";
    case kRootUsers: return "HKU";
    case kRootCurrentConfig: return "HKCC";
    case kRootClassesRoot: return "HKCR";
    default: return "HKCU";  // the registry store's own root for an unknown word
  }
}

}  // namespace

StateFields MakeStateFields(const TTWREC& tweak, const CurrentValue& current, uint8_t language) {
  const ApplyDialogState dialog = MakeApplyDialogState(tweak, current, language);
  StateFields fields;
  if (dialog.RadioVisible) {
    const bool on = dialog.RadioIndex == 0;
    fields.State = std::string((on ? texts::kSwitchOn : texts::kSwitchOff).Pick(language));
    fields.IsDefault = on == DefaultIsOn(tweak);
  } else {
    fields.State = dialog.Value;
    fields.IsDefault = dialog.Value == dialog.DefVal;
  }
  return fields;
}

std::string DefaultFieldText(const TTWREC& tweak, uint8_t language) {
  return MakeApplyDialogState(tweak, CurrentValue{}, language).DefVal;
}

std::string StoreFieldText(const TTWREC& tweak) {
  switch (tweak.PlugType) {
    case kPlugReg: return std::string(texts::kStoreRegistry);
    case kPlugIni: return std::string(texts::kStoreIni);
    case kPlugCfg: return std::string(texts::kStoreCfg);
    default: return {};
  }
}

std::string LocationFieldText(const TTWREC& tweak, uint8_t language) {
  switch (tweak.PlugType) {
    case kPlugReg: {
      std::string path = Utf8(tweak.Path);
      path.erase(0, path.find_first_not_of('\\'));
      while (!path.empty() && path.back() == '\\') path.pop_back();
      std::string location = ShortRootName(tweak.RootKey);
      if (!path.empty()) location += "\\" + path;
      return location + "\\" + (tweak.VarName.empty() ? std::string(texts::kUnnamedValue.Pick(language)) : Utf8(tweak.VarName));
    }
    case kPlugIni: return Utf8(tweak.Path + " [" + tweak.Section + "] " + tweak.VarName);
    case kPlugCfg: return Utf8(tweak.Path + " " + tweak.VarName);
    default: return {};
  }
}

std::optional<int> SwitchChoiceOf(const std::string& text) {
  SystemApi& system = *Os().system;
  const std::string wanted = system.UpperCase(text);
  for (uint8_t language : {kEnglish, kRussian}) {
    const std::string on = Ansi(texts::kSwitchOn.Pick(language)), off = Ansi(texts::kSwitchOff.Pick(language));
    // A code page without Cyrillic letters turns the Russian texts into question marks, which
    // stand for nothing.
    if (on.find('?') != std::string::npos || off.find('?') != std::string::npos) continue;
    if (wanted == system.UpperCase(on)) return 0;
    if (wanted == system.UpperCase(off)) return 1;
  }
  return std::nullopt;
}

}  // namespace qzr
