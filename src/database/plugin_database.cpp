// The database build.
#include "database/plugin_database.h"

#include <string_view>
#include <variant>

#include "plugin/plugin_state.h"
#include "base/text_lines.h"
#include "texts/texts.h"
#include "definitions/tweak_parser.h"
#include "platform/platform.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr std::string_view kValidFolder = "qzr_plugins";
constexpr std::string_view kTrashFolder = "~trash";
constexpr std::string_view kDescriptionList = "descript.ion";
constexpr std::string_view kFolderNote = "directory.txt";

FileApi& Files() { return *Os().files; }

// IniDir + name + delimiter.
std::string DatabaseFolder(std::string_view name) {
  std::string folder = State().IniDir;
  folder += name;
  folder += kPathDelim;
  return folder;
}

std::string FolderNote(std::string_view firstLine) {
  SystemApi& system = *Os().system;
  LocalTime now = system.Now();
  std::string note = Utf8ToCp1251(firstLine);
  note += "\r\n";
  note += texts::kMakerNotice;
  note += "\r\n";
  note += system.FormatLongTime(now);
  note += ' ';
  note += system.FormatShortDate(now);
  note += "\r\n";
  return note;
}

// The folder and its directory.txt, each made only when absent; the note keeps the time of its
// first creation.
void EnsureFolder(std::string_view name, std::string_view noteFirstLine) {
  std::string folder = DatabaseFolder(name);
  folder.pop_back();
  if (Files().GetAttributes(folder) == win::kInvalidAttributes) Files().MakeDirectory(folder);
  std::string note = DatabaseFolder(name) + std::string(kFolderNote);
  if (Files().GetAttributes(note) == win::kInvalidAttributes) Files().WriteWhole(note, FolderNote(noteFirstLine));
}

// Copies over an earlier copy. Windows will not copy over a read-only or hidden file, and a copy
// keeps its source's attributes, so such an earlier copy is removed first rather than left to
// stand for an outdated definition.
void CopyReplacing(const std::string& source, const std::string& target) {
  if (Files().Copy(source, target, false)) return;
  if (Files().GetAttributes(target) == win::kInvalidAttributes) return;
  if (ForceDeleteFile(target)) Files().Copy(source, target, false);
}

bool FitsThisOS(uint8_t osKind) {
  if (osKind == kOS9x) return !State().OSIsNT;
  if (osKind == kOSNT) return State().OSIsNT;
  return true;
}

bool WritesBytes(const TweakValue& value, bool delVal, bool delKey) {
  return std::holds_alternative<TRaw>(value) && !delVal && !delKey;
}

// A BIN size outside 0..kMaxBinSize gives no value bytes at all, and a size of 0 (no "SIZE>", or
// no number after it) gives none either: applying such a tweak would write empty data in place
// of the setting. Only a tweak that does nothing but delete needs no size; one typed by hand
// always writes bytes.
bool SizeUsable(const TTWREC& r) {
  if (r.DataType != kDataBin) return true;
  if (r.DataSize < 0 || r.DataSize > kMaxBinSize) return false;
  return r.DataSize > 0 || !(r.ByHands || WritesBytes(r.ValueOn, r.ValueOnDelVal, r.ValueOnDelKey) ||
                             WritesBytes(r.ValueOff, r.ValueOffDelVal, r.ValueOffDelKey) ||
                             WritesBytes(r.DefValue, r.DefDelVal, r.DefDelKey));
}

bool IsValid(const TTWREC& r) { return !r.Path.empty() && !r.TweakName.empty() && FitsThisOS(r.OSKind) && SizeUsable(r); }

// The descript.ion lines of one build, each list written with a single open when the build ends
// (or stops on an error), instead of one open per definition.
class DescriptionLists {
 public:
  DescriptionLists() = default;
  DescriptionLists(const DescriptionLists&) = delete;
  DescriptionLists& operator=(const DescriptionLists&) = delete;
  ~DescriptionLists() {
    try {
      Flush();
    } catch (...) {
      // The build reports nothing; what could not be written stays unwritten.
    }
  }

  void Add(bool valid, std::string_view fileName, std::string_view description) {
    std::string& list = valid ? valid_ : rejected_;
    list += '"';
    list += fileName;
    list += "\" ";
    // One line per file: a line break (or zero byte) inside a tweak name would start another
    // file's entry, so each becomes a blank.
    for (char c : description) list += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    list += "\r\n";
  }

  void Flush() {
    Append(kValidFolder, valid_);
    Append(kTrashFolder, rejected_);
  }

 private:
  static void Append(std::string_view folder, std::string& lines) {
    if (lines.empty()) return;
    Files().AppendTo(DatabaseFolder(folder) + std::string(kDescriptionList), lines);
    lines.clear();
  }

  std::string valid_, rejected_;
};

void ParseFile(const std::string& fileName, TTWREC& r) {
  std::string text;
  // A file that cannot be read is read as one empty line.
  if (Files().ReadWhole(fileName, &text) != win::kSuccess) text.clear();
  TextLines lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (int comment = KeywordPos("//", line)) line = line.substr(0, static_cast<size_t>(comment) - 1);
    ParseTweakLine(r, line);
  }
}

void DropLastRecord() {
  PluginState& s = State();
  --s.TweakPos;
  s.TweakTable.pop_back();
}

void LoadTweakFile(const std::string& fileName, DescriptionLists& lists) {
  PluginState& s = State();
  ++s.TweakPos;
  s.TweakTable.resize(static_cast<size_t>(s.TweakPos));
  const std::string name = FileNamePart(fileName);
  std::string description;
  bool valid = false;
  try {
    TTWREC& r = s.TweakTable.back();
    ParseFile(fileName, r);
    if (!r.TweakName.empty()) {
      description = r.TweakName;
      r.Location = DatabaseFolder(kValidFolder) + name;
    } else {
      description = texts::kPluginWithErrors.PickCp1251(s.Language);
    }
    valid = IsValid(r);
    if (valid) CopyReplacing(fileName, r.Location);
  } catch (...) {
    // A definition whose reading was cut short is never listed half read.
    DropLastRecord();
    throw;
  }

  if (valid) {
    lists.Add(true, name, description);
    return;
  }
  DropLastRecord();
  std::string target = DatabaseFolder(kTrashFolder) + name;
  ForceDeleteFile(target);
  Files().Copy(fileName, target, false);
  lists.Add(false, name, description);
}

}  // namespace

std::string TrashFolder() { return DatabaseFolder(kTrashFolder); }

std::vector<std::string> FindTweakFiles(const std::string& folder) {
  std::vector<std::string> names;
  for (const FoundFile& found : Files().FindFiles(folder + "*.tweak"))
    if (!(found.Attributes & win::kAttrDirectory)) names.push_back(found.Name);
  return names;
}

bool ForceDeleteFile(const std::string& fileName) {
  uint32_t attributes = Files().GetAttributes(fileName);
  if (attributes == win::kInvalidAttributes) return true;
  uint32_t cleared = attributes & ~win::kAttrReadOnly;
  if (!Files().SetAttributes(fileName, cleared ? cleared : win::kAttrNormal)) return false;
  return Files().RemoveFile(fileName);
}

void LoadTweakFile(const std::string& fileName) {
  DescriptionLists lists;
  LoadTweakFile(fileName, lists);
}

void BuildPluginDatabase() {
  EnsureFolder(kValidFolder, texts::kValidFolderNote);
  EnsureFolder(kTrashFolder, texts::kTrashFolderNote);
  Files().RemoveFile(DatabaseFolder(kValidFolder) + std::string(kDescriptionList));

  DescriptionLists lists;
  const std::string plugins = State().ModuleDir + "plugins" + kPathDelim;
  for (const std::string& name : FindTweakFiles(plugins)) LoadTweakFile(plugins + name, lists);
  lists.Flush();
}

}  // namespace qzr
