// Writing and pruning the undo folder.
#include "apply/undo_files.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/errors.h"
#include "base/file_replace.h"
#include "platform/platform.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr const char* kDescriptionList = "descript.ion";
// The tweak's part of a name: long enough to tell tweaks apart, short enough that the path
// stays within what the file functions take.
constexpr size_t kNamePartLength = 80;
constexpr size_t kMaxPath = 259;  // MAX_PATH without the terminating zero

FileApi& Files() { return *Os().files; }

std::string Digits(const char* format, const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, format, t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second);
  return text;
}

// "20261208-143501": sorts as the time does.
std::string Stamp(const LocalTime& t) { return Digits("%04d%02d%02d-%02d%02d%02d", t); }

// Whether a name is one of ours: it starts with a stamp.
bool IsUndoName(const std::string& name) {
  if (name.size() < 16) return false;
  for (size_t i = 0; i < 15; ++i)
    if (i == 8 ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) return false;
  return true;
}

// The tweak's name as a part of a file name: the characters Windows refuses in one, and control
// characters, become "_"; trailing blanks and dots, which Windows drops, go.
std::string NamePart(const std::string& tweakName, size_t length) {
  std::string part;
  for (char c : tweakName.substr(0, length)) {
    const bool refused = static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    part += refused ? '_' : c;
  }
  while (!part.empty() && (part.back() == ' ' || part.back() == '.')) part.pop_back();
  return part.empty() ? "_" : part;
}

// The first change of a second takes the stamp alone; later ones in the same second add a
// number ("20261208-143501-002"), which sorts after it and in their order.
std::string NewName(const std::string& folder, const UndoFile& file, const LocalTime& when) {
  const std::string stamp = Stamp(when);
  // The file functions take paths of up to MAX_PATH (260) characters: in a deep settings folder
  // the tweak's part is cut shorter rather than the backup, and with it the Save, refused.
  const size_t fixed = folder.size() + stamp.size() + 4 /* "-002" */ + 2 + file.Extension.size();
  const size_t room = fixed < kMaxPath ? kMaxPath - fixed : 1;
  const std::string tail = " " + NamePart(file.TweakName, std::clamp<size_t>(room, 1, kNamePartLength)) + "." + file.Extension;
  size_t taken = Files().FindFiles(folder + stamp + "*").size();
  for (;; ++taken) {
    char number[16];
    std::snprintf(number, sizeof number, "-%03zu", taken + 1);
    std::string name = stamp + (taken == 0 ? "" : number) + tail;
    if (Files().GetAttributes(folder + name) == win::kInvalidAttributes) return name;
  }
}

std::string DescriptionLine(const std::string& name, const std::string& description) {
  std::string line = "\"" + name + "\" ";
  for (char c : description) line += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
  return line + "\r\n";
}

// Deletes the oldest of our files beyond the limit, and their descript.ion lines. What cannot
// be deleted stays; the next change tries again.
void Prune(const std::string& folder) {
  std::vector<std::string> names;
  for (const FoundFile& f : Files().FindFiles(folder + "*"))
    if (!(f.Attributes & win::kAttrDirectory) && IsUndoName(f.Name)) names.push_back(f.Name);
  if (names.size() <= kMaxUndoFiles) return;
  std::sort(names.begin(), names.end());
  std::vector<std::string> gone;
  for (size_t i = 0; i + kMaxUndoFiles < names.size(); ++i)
    if (Files().RemoveFile(folder + names[i])) gone.push_back("\"" + names[i] + "\"");
  std::string list;
  if (gone.empty() || Files().ReadWhole(folder + kDescriptionList, &list) != win::kSuccess) return;
  std::string kept;
  for (size_t start = 0; start < list.size();) {
    size_t end = list.find('\n', start);
    end = end == std::string::npos ? list.size() : end + 1;
    const std::string line = list.substr(start, end - start);
    const bool dropped = std::any_of(gone.begin(), gone.end(), [&](const std::string& q) { return line.starts_with(q + " "); });
    if (!dropped) kept += line;
    start = end;
  }
  ReplaceFileContents(folder + kDescriptionList, kept);
}

}  // namespace

std::string UndoFolder(const std::string& iniDir) { return iniDir + "qzr_undo" + kPathDelim; }

std::string UndoTimeText(const LocalTime& when) { return Digits("%04d-%02d-%02d %02d:%02d:%02d", when); }

std::string WriteUndoFile(const std::string& folder, const UndoFile& file, const LocalTime& when) {
  std::string bare = folder;
  if (!bare.empty() && bare.back() == kPathDelim) bare.pop_back();
  if (Files().GetAttributes(bare) == win::kInvalidAttributes) Files().MakeDirectory(bare);
  const std::string path = folder + NewName(folder, file, when);
  bool written = Files().WriteWhole(path, file.Content) == win::kSuccess;
  written = written && Files().AppendTo(folder + kDescriptionList, DescriptionLine(FileNamePart(path), file.Description)) ==
                           win::kSuccess;
  if (!written) {
    // A part of a file would pass for a whole one.
    Files().RemoveFile(path);
    RaiseUnableToWrite(path);
  }
  Prune(folder);
  return path;
}

}  // namespace qzr
