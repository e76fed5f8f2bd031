// Save: the choice (on, off, typed, or the default), then the action on the store.
#include "apply/apply_save.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "apply/admin_import.h"
#include "apply/reg_backup.h"
#include "apply/reg_file_text.h"
#include "apply/tweak_state.h"
#include "apply/save_backup.h"
#include "base/errors.h"
#include "platform/platform.h"
#include "stores/cfg.h"
#include "stores/ini_file.h"
#include "stores/tweak_values.h"
#include "stores/vesk_registry.h"
#include "definitions/value_text.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"

namespace qzr {
namespace {

using Action = SaveAction;

struct Choice {
  Action What = Action::kWrite;
  TweakValue Value;  // DWORD and STRING tweaks
  TRaw Bytes;        // BIN tweaks, exactly DataSize bytes
};

// The value about to be written, as the backup's description gives it: a number or bytes as
// they are, a text in quotes.
std::string NewText(const TTWREC& t, const Choice& c) {
  if (t.DataType == kDataBin) return BytesToHex(c.Bytes, static_cast<int32_t>(c.Bytes.size()));
  return t.DataType == kDataString ? "\"" + ValueAsText(c.Value) + "\"" : ValueAsText(c.Value);
}

int32_t BinSize(const TTWREC& t) { return std::max<int32_t>(t.DataSize, 0); }

// A BIN value as exactly DataSize bytes: shorter data is padded with zeros, never read past.
TRaw SizedBytes(const TweakValue& value, const TTWREC& t) {
  TRaw bytes(static_cast<size_t>(BinSize(t)), 0);
  if (const auto* raw = std::get_if<TRaw>(&value))
    std::copy_n(raw->begin(), std::min(raw->size(), bytes.size()), bytes.begin());
  return bytes;
}

// One of the definition's values (on, off or the default) with its deletion flags; deleting the
// value wins when both are set.
Choice DefinedChoice(const TTWREC& t, const TweakValue& value, bool delVal, bool delKey) {
  Choice c;
  if (delVal) {
    c.What = Action::kDeleteValue;
  } else if (delKey) {
    c.What = Action::kDeleteKey;
  } else if (t.DataType == kDataBin) {
    c.Bytes = SizedBytes(value, t);
  } else {
    c.Value = value;
  }
  return c;
}

Choice Decide(const TTWREC& t, int radioIndex, const std::string& typed) {
  Choice c;
  if (t.ByHands) {
    if (t.DataType == kDataBin) {
      c.Bytes.assign(static_cast<size_t>(BinSize(t)), 0);
      if (!ParseHexValue(typed, BinSize(t), c.Bytes.data())) c.Bytes = SizedBytes(t.DefValue, t);
    } else {
      c.Value = typed;
    }
    return c;
  }
  if (radioIndex == 0) return DefinedChoice(t, t.ValueOn, t.ValueOnDelVal, t.ValueOnDelKey);
  return DefinedChoice(t, t.ValueOff, t.ValueOffDelVal, t.ValueOffDelKey);
}

// The default as a choice; nothing when the definition has no DEFAULT> line (or no data type
// for its value to take).
std::optional<Choice> DecideDefault(const TTWREC& t) {
  if (!t.DefDelVal && !t.DefDelKey && std::holds_alternative<std::monostate>(t.DefValue)) return std::nullopt;
  return DefinedChoice(t, t.DefValue, t.DefDelVal, t.DefDelKey);
}

// A registry change refused with "access denied": one an administrator could still make.
class RefusedForRights : public ShownError {
 public:
  using ShownError::ShownError;
};

// A refused registry change is reported as a file that cannot be written is, by the key's full
// name: closing the dialog as after a success would tell the user the setting was applied.
// `status` is what the refused call answered.
[[noreturn]] void RaiseRefused(const TVeskRegistry& reg, const TTWREC& t, bool namingValue, long status) {
  std::string path = t.Path;
  path.erase(0, path.find_first_not_of('\\'));
  std::string name = RootKeyName(reg.RootHandle()) + "\\" + path;
  if (namingValue) name += "\\" + t.VarName;
  try {
    RaiseUnableToWrite(Os().system->AnsiToUtf8(name));
  } catch (const ShownError& e) {
    if (status == win::kAccessDenied) throw RefusedForRights(e.what());
    throw;
  }
}

[[noreturn]] void RaiseRefused(const TVeskRegistry& reg, const TTWREC& t, bool namingValue) {
  RaiseRefused(reg, t, namingValue, reg.LastFailure());
}

RegHandle RootOf(const TTWREC& t) { return RootKeyForCode(t.RootKey).value_or(kHkeyCurrentUser); }

// The registry file lines that make the change, exactly as an undo file would save the state it
// leaves: the key and the value, the key and "name"=-, or [-key]. UTF-8, as the undo files'
// lines are; a string's data as the wide calls would read it back.
std::string ChangeLines(const TTWREC& t, const Choice& c, int32_t integer) {
  SystemApi& system = *Os().system;
  const std::string key = system.AnsiToUtf8(RegKeyFullName(RootOf(t), t.Path));
  const std::string name = system.AnsiToUtf8(t.VarName);
  if (c.What == Action::kDeleteKey) return "\r\n" + RegKeyLine(key, true);
  const std::string head = "\r\n" + RegKeyLine(key);
  if (c.What == Action::kDeleteValue) return head + RegDeleteValueLine(name);
  switch (t.DataType) {
    case kDataDword: {
      const auto n = static_cast<uint32_t>(integer);
      const char bytes[4] = {static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF),
                             static_cast<char>(n >> 16 & 0xFF), static_cast<char>(n >> 24 & 0xFF)};
      return head + RegValueLine(name, win::kRegDword, std::string(bytes, 4));
    }
    case kDataString:
      return head + RegValueLine(name, win::kRegSz, Utf16LeBytes(Utf8ToUtf16(system.AnsiToUtf8(ValueAsText(c.Value))) + u'\0'));
    default: return head + RegValueLine(name, win::kRegBinary, std::string(c.Bytes.begin(), c.Bytes.end()));
  }
}

// Writes the backup, then runs `change`: when the change is refused, what it made goes again
// and the backup with it (see TakeBackRefusedSave). A registry change refused for lack of rights
// goes into `admin` instead, when there is one and the root allows it, with its backup kept.
template <typename Change>
void AfterBackup(const TTWREC& t, const Choice& c, const std::string& undoFolder, Change&& change,
                 AdminImport* admin = nullptr, int32_t integer = 0) {
  const WrittenBackup backup = BackUpBeforeSave(t, c.What, NewText(t, c), undoFolder);
  try {
    change();
  } catch (const RefusedForRights& e) {
    if (admin && ElevatableRoot(RootOf(t)) && UndoCreatedKeys(t, c.What, backup)) {
      admin->Add(RefusedChange{&t, c.What, ChangeLines(t, c, integer), RegKeyFullName(RootOf(t), t.Path), e.what(),
                               backup});
      throw PutOffForRights(e.what());
    }
    TakeBackRefusedSave(t, c.What, backup, e);
  } catch (const ShownError& e) {
    TakeBackRefusedSave(t, c.What, backup, e);
  }
}

void ChangeRegistry(const TTWREC& t, const Choice& c, bool ntFamily, int32_t integer) {
  TVeskRegistry reg;
  reg.SetNTFamily(ntFamily);
  if (auto root = RootKeyForCode(t.RootKey)) reg.SetRootKey(*root);
  switch (c.What) {
    case Action::kDeleteValue:
      // A missing key or value is already what was asked for; one that stays was refused.
      if (!reg.OpenKey(t.Path)) {
        if (reg.KeyExists(t.Path)) RaiseRefused(reg, t, false);
        return;
      }
      if (!reg.DeleteValue(t.VarName) && reg.ValueExists(t.VarName)) RaiseRefused(reg, t, true);
      return;
    case Action::kDeleteKey:
      if (!reg.KeyExists(t.Path)) return;
      // Keys go depth first: one refused at the end would leave the keys below it gone. So
      // the whole tree is checked before anything is deleted.
      if (!reg.CanDeleteKey(t.Path)) RaiseRefused(reg, t, false);
      if (!reg.DeleteKey(t.Path) && reg.KeyExists(t.Path)) RaiseRefused(reg, t, false);
      return;
    case Action::kWrite: break;
  }
  if (!reg.OpenKey(t.Path)) RaiseRefused(reg, t, false);
  long rc = win::kSuccess;
  switch (t.DataType) {
    case kDataDword: rc = reg.WriteInteger(t.VarName, integer); break;
    case kDataString: rc = reg.WriteString(t.VarName, ValueAsText(c.Value)); break;
    case kDataBin: rc = reg.WriteBinaryData(t.VarName, c.Bytes.data(), static_cast<int32_t>(c.Bytes.size())); break;
  }
  if (rc != win::kSuccess) RaiseRefused(reg, t, true, rc);
}

void SaveRegistry(const TTWREC& t, const Choice& c, bool ntFamily, const std::string& undoFolder, AdminImport* admin) {
  // Without a data type there is nothing to write, so nothing is made either.
  const bool writable = t.DataType == kDataDword || t.DataType == kDataString || t.DataType == kDataBin;
  if (c.What == Action::kWrite && !writable) return;
  // A DWORD is converted before anything is opened: typed text that is no number creates nothing.
  const int32_t integer = c.What == Action::kWrite && t.DataType == kDataDword ? ValueAsInteger(c.Value) : 0;
  AfterBackup(t, c, undoFolder, [&] { ChangeRegistry(t, c, ntFamily, integer); }, admin, integer);
}

// INI and CFG files are line by line, and a write must give a line the next read takes back as
// the same entry. A line break in a name or value would write a line of its own (another key,
// or a section), a zero byte would end the text there, "=" in a name would end the name early
// (each save adding one more line), and an INI key beginning with "[" or ";" would read as a
// section header or a comment. Such a write is refused before the file is touched.
void RequireFaithfulEntry(const TTWREC& t, const Choice& c) {
  auto breaksLine = [](const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
  };
  const bool writes = c.What == Action::kWrite;
  const bool writesText = writes && t.DataType == kDataString;
  bool refused = breaksLine(t.VarName) || breaksLine(t.Section) || (writesText && breaksLine(ValueAsText(c.Value)));
  if (writes && t.VarName.find('=') != std::string::npos) refused = true;
  if (writes && t.PlugType == kPlugIni && !t.VarName.empty() && (t.VarName[0] == '[' || t.VarName[0] == ';'))
    refused = true;
  if (refused) RaiseUnableToWrite(TweakFilePath(t));
}

void SaveIni(const TTWREC& t, const Choice& c, const std::string& undoFolder) {
  RequireFaithfulEntry(t, c);
  // A BIN INI tweak writes nothing at all, and needs no backup.
  const bool writes = t.DataType == kDataDword || t.DataType == kDataString;
  // A typed value that is no number raises before anything is written, the backup included.
  std::optional<int32_t> number;
  if (c.What == Action::kWrite && t.DataType == kDataDword) number = ValueAsInteger(c.Value);
  if (c.What == Action::kWrite && !writes) return;
  AfterBackup(t, c, undoFolder, [&] {
    TIniFile ini(TweakFilePath(t));
    switch (c.What) {
      case Action::kDeleteValue: ini.DeleteKey(t.Section, t.VarName); return;
      case Action::kDeleteKey: ini.EraseSection(t.Section); return;
      case Action::kWrite: break;
    }
    if (number) ini.WriteInteger(t.Section, t.VarName, *number);
    if (t.DataType == kDataString) ini.WriteString(t.Section, t.VarName, ValueAsText(c.Value));
  });
}

void SaveCfg(const TTWREC& t, const Choice& c, const std::string& undoFolder) {
  // A typed value that is no number raises before the file is touched.
  std::optional<int32_t> number;
  if (c.What == Action::kWrite && t.DataType == kDataDword) number = ValueAsInteger(c.Value);
  RequireFaithfulEntry(t, c);
  // The store makes a missing file, so even a Save that writes nothing into it is backed up.
  AfterBackup(t, c, undoFolder, [&] {
    TCFG cfg(TweakFilePath(t));
    if (c.What == Action::kDeleteValue) cfg.DeleteKey(t.VarName);
    if (c.What == Action::kWrite && number) cfg.WriteInteger(t.VarName, *number);
    if (c.What == Action::kWrite && t.DataType == kDataString) cfg.WriteString(t.VarName, ValueAsText(c.Value));
    cfg.Close();
  });
}

void Store(const TTWREC& t, const Choice& c, bool ntFamily, const std::string& undoFolder, AdminImport* admin) {
  switch (t.PlugType) {
    case kPlugReg: SaveRegistry(t, c, ntFamily, undoFolder, admin); break;
    case kPlugIni: SaveIni(t, c, undoFolder); break;
    case kPlugCfg: SaveCfg(t, c, undoFolder); break;
    default: break;
  }
}

}  // namespace

bool ParseHexValue(const std::string& text, int32_t size, uint8_t* bytes) {
  if (size < 0 || text.size() != static_cast<size_t>(size) * 2) return false;
  auto digit = [](char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
  };
  if (!std::all_of(text.begin(), text.end(), [&](char ch) { return digit(ch) >= 0; })) return false;
  for (int32_t i = 0; i < size; ++i)
    bytes[i] = static_cast<uint8_t>(digit(text[2 * static_cast<size_t>(i)]) * 16 + digit(text[2 * static_cast<size_t>(i) + 1]));
  return true;
}

void SaveTweak(const TTWREC& tweak, int radioIndex, const std::string& typedValue, bool ntFamily,
               const std::string& undoFolder, AdminImport* admin) {
  Store(tweak, Decide(tweak, radioIndex, typedValue), ntFamily, undoFolder, admin);
}

bool RestoreDefault(const TTWREC& tweak, bool ntFamily, const std::string& undoFolder, AdminImport* admin) {
  const std::optional<Choice> choice = DecideDefault(tweak);
  if (!choice || tweak.PlugType > kPlugCfg) return false;
  Store(tweak, *choice, ntFamily, undoFolder, admin);
  return true;
}

}  // namespace qzr
