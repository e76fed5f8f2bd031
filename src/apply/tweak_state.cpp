// Reading a tweak's state and filling the apply dialog with it.
#include "apply/tweak_state.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>

#include "base/file_replace.h"
#include "base/path_text.h"
#include "definitions/value_text.h"
#include "platform/platform.h"
#include "stores/cfg.h"
#include "stores/ini_file.h"
#include "stores/tweak_values.h"
#include "stores/vesk_registry.h"
#include "texts/dialog_texts.h"

namespace qzr {

CurrentValue ReadRegistryValue(const TTWREC& t) {
  TVeskRegistry reg;
  if (auto root = RootKeyForCode(t.RootKey)) reg.SetRootKey(*root);
  // Read rights are all reading takes: a user who may not change an HKEY_LOCAL_MACHINE key still
  // sees its state. A key that cannot be read counts as missing.
  if (!reg.OpenKeyReadOnly(t.Path)) return CurrentValue{ReadState::kKeyMissing, {}};
  if (!reg.ValueExists(t.VarName)) return CurrentValue{ReadState::kValueMissing, t.DefValue};
  CurrentValue current{ReadState::kFound, {}};
  switch (t.DataType) {
    case kDataDword: current.Value = reg.ReadInteger(t.VarName); break;
    case kDataString: current.Value = reg.ReadString(t.VarName); break;
    case kDataBin: {
      // One byte more than the tweak's size, as the stored data is compared on DataSize bytes.
      int32_t size = std::max<int32_t>(t.DataSize, 0);
      TRaw buffer(static_cast<size_t>(size) + 1, 0);
      reg.ReadBinaryData(t.VarName, buffer.data(), size);
      current.Value = std::move(buffer);
      break;
    }
    default: break;
  }
  return current;
}

CurrentValue ReadIniValue(const TTWREC& t, ProfileApi& profile) {
  TIniFile ini(TweakFilePath(t), profile);
  if (!ini.SectionExists(t.Section)) return CurrentValue{ReadState::kKeyMissing, {}};
  if (!ini.ValueExists(t.Section, t.VarName)) return CurrentValue{ReadState::kValueMissing, t.DefValue};
  CurrentValue current{ReadState::kFound, {}};
  if (t.DataType == kDataDword)
    current.Value = ini.ReadInteger(t.Section, t.VarName, ValueAsInteger(t.DefValue));
  else if (t.DataType == kDataString)
    current.Value = ini.ReadString(t.Section, t.VarName, ValueAsText(t.DefValue));
  return current;
}

CurrentValue ReadCfgValue(const TTWREC& t, const TCFG& cfg) {
  CurrentValue current{ReadState::kFound, {}};
  if (t.DataType == kDataDword)
    current.Value = cfg.ReadInteger(t.VarName, ValueAsInteger(t.DefValue));
  else if (t.DataType == kDataString)
    current.Value = cfg.ReadString(t.VarName, ValueAsText(t.DefValue));
  return current;
}

std::string TweakFilePath(const TTWREC& tweak) { return PathOfAnsi(tweak.Path); }

CurrentValue ReadCurrentValue(const TTWREC& tweak) {
  switch (tweak.PlugType) {
    case kPlugReg: return ReadRegistryValue(tweak);
    case kPlugIni: return ReadIniValue(tweak, *Os().profile);
    case kPlugCfg: {
      std::shared_lock replacing(FileReplaceLock());  // a bulk change may save it on another thread
      TCFG cfg(TweakFilePath(tweak));
      CurrentValue current = ReadCfgValue(tweak, cfg);
      cfg.Close();
      return current;
    }
    default: return CurrentValue{};
  }
}

bool ValuesEqual(const TweakValue& a, const TweakValue& b, const TTWREC& tweak) {
  if (tweak.DataType == kDataBin) {
    const auto* x = std::get_if<TRaw>(&a);
    const auto* y = std::get_if<TRaw>(&b);
    if (!x || !y) return false;
    auto n = static_cast<size_t>(std::max<int32_t>(tweak.DataSize, 0));
    if (x->size() < n || y->size() < n) return false;
    return std::equal(x->begin(), x->begin() + static_cast<long>(n), y->begin());
  }
  if (const auto* i = std::get_if<int32_t>(&a)) {
    const auto* j = std::get_if<int32_t>(&b);
    return j && *i == *j;
  }
  if (const auto* s = std::get_if<std::string>(&a)) {
    const auto* u = std::get_if<std::string>(&b);
    return u && *s == *u;
  }
  return false;
}

bool IsOn(const TTWREC& t, const CurrentValue& current) {
  switch (current.State) {
    case ReadState::kFound:
      return !t.ValueOnDelVal && !t.ValueOnDelKey && ValuesEqual(current.Value, t.ValueOn, t);
    case ReadState::kValueMissing: return t.ValueOnDelVal;
    case ReadState::kKeyMissing: return t.ValueOnDelKey;
  }
  return false;
}

bool DefaultIsOn(const TTWREC& t) {
  // A deleting default or on-value holds only the type's zero value, which says nothing about
  // the state: "value deleted" is not the value 0. Values are compared only when neither side
  // deletes, as the on-test does for a value found.
  bool deletes = t.DefDelVal || t.DefDelKey || t.ValueOnDelVal || t.ValueOnDelKey;
  return (!deletes && ValuesEqual(t.DefValue, t.ValueOn, t)) || (t.DefDelVal && t.ValueOnDelVal) ||
         (t.DefDelKey && t.ValueOnDelKey);
}

ApplyDialogState MakeApplyDialogState(const TTWREC& t, const CurrentValue& current, uint8_t language) {
  SystemApi& sys = *Os().system;
  ApplyDialogState state;
  state.Memo = sys.AnsiToUtf8(t.TweakName);
  state.RadioVisible = !t.ByHands;
  state.ValueVisible = t.ByHands;
  if (t.PlugType > kPlugCfg) return state;
  state.Value = sys.AnsiToUtf8(ValueToText(current.Value, t.DataSize));
  state.DefVal = sys.AnsiToUtf8(ValueToText(t.DefValue, t.DataSize));
  if (t.ByHands) return state;
  state.RadioIndex = IsOn(t, current) ? 0 : 1;
  // A language value beyond English and Russian has no yes/no text, like every other text.
  state.DefVal = std::string((DefaultIsOn(t) ? texts::kDefaultYes : texts::kDefaultNo).Pick(language));
  return state;
}

}  // namespace qzr
