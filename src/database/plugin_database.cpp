// The database build.
#include "database/plugin_database.h"

#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "base/path_text.h"
#include "base/text_lines.h"
#include "definitions/tweak_parser.h"
#include "platform/platform.h"
#include "texts/texts.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr std::string_view kValidFolder = "qzr_plugins";
constexpr std::string_view kTrashFolder = "~trash";
constexpr std::string_view kDescriptionList = "descript.ion";
constexpr std::string_view kFolderNote = "directory.txt";

FileApi& Files() { return *Os().files; }

// IniDir + name + delimiter.
std::string DatabaseFolder(const std::string& iniDir, std::string_view name) {
  std::string folder = iniDir;
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
void EnsureFolder(const std::string& iniDir, std::string_view name, std::string_view noteFirstLine) {
  std::string folder = DatabaseFolder(iniDir, name);
  folder.pop_back();
  if (Files().GetAttributes(folder) == win::kInvalidAttributes) Files().MakeDirectory(folder);
  std::string note = DatabaseFolder(iniDir, name) + std::string(kFolderNote);
  if (Files().GetAttributes(note) == win::kInvalidAttributes) Files().WriteWhole(note, FolderNote(noteFirstLine));
}

// Writes the copy of a definition over an earlier copy. Windows will not write over a
// read-only or hidden file, and a copy keeps its source's attributes, so such an earlier copy is
// removed first rather than left to stand for an outdated definition.
void CopyReplacing(const std::string& target, const std::string& content, uint32_t sourceAttributes) {
  if (Files().WriteCopy(target, content, sourceAttributes) == win::kSuccess) return;
  if (Files().GetAttributes(target) == win::kInvalidAttributes) return;
  if (ForceDeleteFile(target)) Files().WriteCopy(target, content, sourceAttributes);
}

bool FitsThisOS(uint8_t osKind, bool osIsNT) {
  if (osKind == kOS9x) return !osIsNT;
  if (osKind == kOSNT) return osIsNT;
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

bool IsValid(const TTWREC& r, bool osIsNT) {
  return !r.Path.empty() && !r.TweakName.empty() && FitsThisOS(r.OSKind, osIsNT) && SizeUsable(r);
}

// The descript.ion lines of one build, each list written with a single open when the build ends
// (or stops on an error), instead of one open per definition.
class DescriptionLists {
 public:
  explicit DescriptionLists(std::string iniDir) : iniDir_(std::move(iniDir)) {}
  DescriptionLists(const DescriptionLists&) = delete;
  DescriptionLists& operator=(const DescriptionLists&) = delete;
  ~DescriptionLists() {
    try {
      Flush();
    } catch (...) {
      // The build reports nothing; what could not be written stays unwritten.
    }
  }

  // `fileName` is path text; the list is ANSI text, as the host reads it.
  void Add(bool valid, const std::string& fileName, std::string_view description) {
    std::string& list = valid ? valid_ : rejected_;
    list += '"';
    list += AnsiOfPath(fileName);
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
  void Append(std::string_view folder, std::string& lines) {
    if (lines.empty()) return;
    Files().AppendTo(DatabaseFolder(iniDir_, folder) + std::string(kDescriptionList), lines);
    lines.clear();
  }

  std::string iniDir_;
  std::string valid_, rejected_;
};

void ParseText(const std::string& text, TTWREC& r) {
  TextLines lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (int comment = KeywordPos("//", line)) line = line.substr(0, static_cast<size_t>(comment) - 1);
    ParseTweakLine(r, line);
  }
}

void DropLastRecord(TweakTable& table) {
  --table.Pos;
  table.Records.pop_back();
}

// Each definition is read once: its copy, in qzr_plugins or ~trash, is written from the bytes
// parsed, with the attributes the folder's listing gave.
void LoadTweakFile(const DatabaseSetup& setup, const std::string& fileName, uint32_t attributes, TweakTable& table,
                   DescriptionLists& lists) {
  std::string text, description;
  // A file that cannot be read is read as one empty line, and has no copy.
  const bool read = Files().ReadWhole(fileName, &text) == win::kSuccess;
  if (!read) text.clear();
  const std::string name = FileNamePart(fileName);
  ++table.Pos;
  table.Records.resize(static_cast<size_t>(table.Pos));
  bool valid = false;
  try {
    TTWREC& r = table.Records.back();
    ParseText(text, r);
    if (!r.TweakName.empty()) {
      description = r.TweakName;
      r.Location = DatabaseFolder(setup.IniDir, kValidFolder) + name;
    } else {
      description = texts::kPluginWithErrors.PickCp1251(setup.Language);
    }
    valid = IsValid(r, setup.OSIsNT);
    if (valid) CopyReplacing(r.Location, text, attributes);
  } catch (...) {
    // A definition whose reading was cut short is never listed half read.
    DropLastRecord(table);
    throw;
  }

  if (valid) {
    lists.Add(true, name, description);
    return;
  }
  DropLastRecord(table);
  std::string target = DatabaseFolder(setup.IniDir, kTrashFolder) + name;
  if (read)
    CopyReplacing(target, text, attributes);
  else
    ForceDeleteFile(target);
  lists.Add(false, name, description);
}

// The "*.tweak" files of a folder with their attributes, folders left out.
std::vector<FoundFile> FindTweakEntries(const std::string& folder) {
  std::vector<FoundFile> found = Files().FindFiles(folder + "*.tweak");
  std::erase_if(found, [](const FoundFile& f) { return (f.Attributes & win::kAttrDirectory) != 0; });
  return found;
}

}  // namespace

std::string PluginsFolder(const std::string& moduleDir) { return moduleDir + "plugins" + kPathDelim; }

std::string TrashFolder(const std::string& iniDir) { return DatabaseFolder(iniDir, kTrashFolder); }

std::vector<std::string> FindTweakFiles(const std::string& folder) {
  std::vector<std::string> names;
  for (const FoundFile& found : FindTweakEntries(folder)) names.push_back(found.Name);
  return names;
}

bool ForceDeleteFile(const std::string& fileName) {
  uint32_t attributes = Files().GetAttributes(fileName);
  if (attributes == win::kInvalidAttributes) return true;
  uint32_t cleared = attributes & ~win::kAttrReadOnly;
  if (!Files().SetAttributes(fileName, cleared ? cleared : win::kAttrNormal)) return false;
  return Files().RemoveFile(fileName);
}

void LoadTweakFile(const DatabaseSetup& setup, const std::string& fileName, TweakTable table) {
  DescriptionLists lists(setup.IniDir);
  const uint32_t attributes = Files().GetAttributes(fileName);
  LoadTweakFile(setup, fileName, attributes == win::kInvalidAttributes ? 0 : attributes, table, lists);
}

void BuildPluginDatabase(const DatabaseSetup& setup, TweakTable table) {
  EnsureFolder(setup.IniDir, kValidFolder, texts::kValidFolderNote);
  EnsureFolder(setup.IniDir, kTrashFolder, texts::kTrashFolderNote);
  Files().RemoveFile(DatabaseFolder(setup.IniDir, kValidFolder) + std::string(kDescriptionList));

  DescriptionLists lists(setup.IniDir);
  const std::string plugins = PluginsFolder(setup.ModuleDir);
  for (const FoundFile& found : FindTweakEntries(plugins))
    LoadTweakFile(setup, plugins + found.Name, found.Attributes, table, lists);
  lists.Flush();
}

}  // namespace qzr
