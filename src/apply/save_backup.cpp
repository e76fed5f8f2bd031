// What each store's backup holds, and the words that describe the change.
#include "apply/save_backup.h"

#include "apply/reg_backup.h"
#include "apply/reg_file_text.h"
#include "apply/tweak_state.h"
#include "apply/undo_files.h"
#include "base/errors.h"
#include "base/path_text.h"
#include "platform/platform.h"
#include "stores/ini_file.h"
#include "stores/vesk_registry.h"
#include "util/text.h"

namespace qzr {
namespace {

std::string After(SaveAction action, const std::string& newText) {
  switch (action) {
    case SaveAction::kDeleteValue: return "deleted";
    case SaveAction::kDeleteKey: return "deleted";
    case SaveAction::kWrite: break;
  }
  return newText;
}

// "Explorer - Show extensions, 2026-12-08 14:35:01, <where>: <before> -> <after>"
std::string Description(const std::string& tweakName, const LocalTime& when, const std::string& where,
                        const std::string& before, SaveAction action, const std::string& newText) {
  return tweakName + ", " + UndoTimeText(when) + ", " + where + ": " + before + " -> " + After(action, newText);
}

// The profile functions look for a file named without a full path in the Windows folder.
std::string IniFileOnDisk(const std::string& path) {
  const bool full = path.starts_with(kPathDelim) || (path.size() > 1 && path[1] == ':');
  if (full) return path;
  std::optional<std::string> windows = Os().system->GetEnvUtf8("windir");
  return windows ? JoinPath(*windows + kPathDelim, path) : path;
}

// The path of the file behind an INI or CFG tweak, as the backup read it (path text).
std::string FileOf(const TTWREC& t) {
  return t.PlugType == kPlugIni ? IniFileOnDisk(TweakFilePath(t)) : TweakFilePath(t);
}

// The value of the first "name=" line of a CFG file's bytes (names without regard to ASCII
// case), as the user would find it; nothing when there is none.
std::optional<std::string> CfgValue(const std::string& bytes, const std::string& name) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos && EqualsNoCaseAscii(line.substr(0, eq), name)) return line.substr(eq + 1);
    start = end + 1;
  }
  return std::nullopt;
}

RegHandle RootOf(const TTWREC& t) { return RootKeyForCode(t.RootKey).value_or(kHkeyCurrentUser); }

std::optional<RegBackup> RegistryState(const TTWREC& t, SaveAction action) {
  return ReadRegBackup(RootOf(t), t.Path, t.VarName, action == SaveAction::kDeleteKey);
}

// The file's bytes, or that there is none; nothing when it cannot be read.
std::optional<std::string> FileState(const std::string& path) {
  std::string bytes;
  const long rc = Os().files->ReadWhole(path, &bytes);
  if (rc == win::kFileNotFound || rc == win::kPathNotFound) return "no file";
  if (rc != win::kSuccess) return std::nullopt;
  return "file:" + bytes;
}

WrittenBackup BackUpRegistry(const TTWREC& t, SaveAction action, const std::string& newText, const std::string& folder,
                             const LocalTime& when) {
  const RegHandle root = RootOf(t);
  const bool wholeKey = action == SaveAction::kDeleteKey;
  std::optional<RegBackup> backup = RegistryState(t, action);
  if (!backup) RaiseUnableToWrite(folder);
  std::string where = RootKeyName(root) + "\\" + t.Path;
  if (!wholeKey) where += "\\" + (t.VarName.empty() ? std::string("@") : t.VarName);
  // The descript.ion line is in the ANSI code page, as the host reads it; the file's comment
  // keeps the old value as exactly as the rest of the file (the tweak's own texts are ANSI).
  SystemApi& system = *Os().system;
  const std::string description =
      Description(t.TweakName, when, where, system.Utf8ToAnsi(backup->Before), action, newText);
  // One comment line: a line end inside it (a name may hold one) would start a line the
  // registry editor reads as a key or a value.
  std::string comment = "; " + Description(system.AnsiToUtf8(t.TweakName), when, system.AnsiToUtf8(where),
                                           backup->Before, action, system.AnsiToUtf8(newText));
  for (char& c : comment)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  const std::string text = kRegFileHeader + comment + "\r\n" + backup->Body;
  const std::string path = WriteUndoFile(folder, UndoFile{t.TweakName, "reg", RegFileBytes(text), description}, when);
  return WrittenBackup{path, backup->Body, backup->Created};
}

WrittenBackup BackUpFile(const TTWREC& t, SaveAction action, const std::string& newText, const std::string& folder,
                const LocalTime& when) {
  const bool ini = t.PlugType == kPlugIni;
  const std::string path = FileOf(t);
  std::string bytes;
  long rc = Os().files->ReadWhole(path, &bytes);
  if (rc != win::kSuccess && rc != win::kFileNotFound && rc != win::kPathNotFound) RaiseUnableToWrite(folder);
  const bool missing = rc != win::kSuccess;

  std::string where = ini ? "[" + t.Section + "] " + t.VarName : t.VarName;
  std::string before = "no value";
  if (missing) {
    before = "no file";
  } else if (ini) {
    TIniFile file(TweakFilePath(t));
    if (action == SaveAction::kDeleteKey) before = file.SectionExists(t.Section) ? "section present" : "no section";
    else if (file.ValueExists(t.Section, t.VarName)) before = "\"" + file.ReadString(t.Section, t.VarName, "") + "\"";
  } else if (std::optional<std::string> value = CfgValue(bytes, t.VarName)) {
    before = "\"" + *value + "\"";
  }
  if (ini && action == SaveAction::kDeleteKey) where = "section [" + t.Section + "]";
  // The host shows the description beside the file: first where the copy belongs.
  const std::string description = AnsiOfPath(path) + "; " + Description(t.TweakName, when, where, before, action, newText);
  if (missing) {
    const std::string note = AnsiOfPath(path) + " did not exist before this change; delete it to undo the change.\r\n";
    return WrittenBackup{WriteUndoFile(folder, UndoFile{t.TweakName + " (no file)", "txt", note, description}, when),
                         "no file", {}};
  }
  // The copy keeps the file's own extension where it has one ("app.ini"), else the store's.
  const std::string name = FileNamePart(path);
  const size_t dot = name.rfind('.');
  const std::string extension = dot != std::string::npos && dot > 0 && dot + 1 < name.size() ? name.substr(dot + 1)
                                                                                            : (ini ? "ini" : "cfg");
  return WrittenBackup{WriteUndoFile(folder, UndoFile{t.TweakName, extension, bytes, description}, when), "file:" + bytes, {}};
}

}  // namespace

WrittenBackup BackUpBeforeSave(const TTWREC& tweak, SaveAction action, const std::string& newText,
                               const std::string& undoFolder) {
  const LocalTime when = Os().system->Now();
  if (tweak.PlugType == kPlugReg) return BackUpRegistry(tweak, action, newText, undoFolder, when);
  return BackUpFile(tweak, action, newText, undoFolder, when);
}

bool UndoCreatedKeys(const TTWREC& tweak, SaveAction action, const WrittenBackup& backup) {
  std::optional<std::string> now;
  if (tweak.PlugType == kPlugReg) {
    TVeskRegistry reg;
    reg.SetRootKey(RootOf(tweak));
    // Deepest first; a key the refusal stopped short of is simply not there, and one that is
    // not empty stays.
    for (const std::string& key : backup.Created) reg.DeleteKeyIfEmpty("\\" + key);
    if (std::optional<RegBackup> state = RegistryState(tweak, action)) now = state->Body;
  } else {
    now = FileState(FileOf(tweak));
  }
  return now == backup.State;
}

std::string TakeBackRefused(const TTWREC& tweak, SaveAction action, const WrittenBackup& backup,
                            const std::string& message) {
  if (UndoCreatedKeys(tweak, action, backup)) {
    WithdrawUndoFile(backup.Path);
    return message;
  }
  return message + ". What was there before is saved in " + backup.Path;
}

void TakeBackRefusedSave(const TTWREC& tweak, SaveAction action, const WrittenBackup& backup, const ShownError& error) {
  throw ShownError(TakeBackRefused(tweak, action, backup, error.what()));
}

}  // namespace qzr
