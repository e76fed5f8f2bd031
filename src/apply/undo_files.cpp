// Writing and pruning the undo folder.
#include "apply/undo_files.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "base/errors.h"
#include "base/path_text.h"
#include "platform/platform.h"
#include "util/text.h"
#include "util/utf16.h"

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

// Whether a name has the whole form NewName gives: "20261208-143501[-002] <tweak>.<extension>",
// the tweak's part as NamePart leaves it. A user's "20261208 notes.txt" is no such name.
bool IsUndoName(const std::string& name) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (name.size() < 16) return false;
  for (size_t i = 0; i < 15; ++i)
    if (i == 8 ? name[i] != '-' : !digit(name[i])) return false;
  size_t at = 15;
  if (name[at] == '-') {
    const size_t first = ++at;
    while (at < name.size() && digit(name[at])) ++at;
    if (at - first < 3) return false;
  }
  if (at >= name.size() || name[at] != ' ') return false;
  const std::string rest = name.substr(at + 1);
  const size_t dot = rest.rfind('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == rest.size()) return false;
  const std::string part = rest.substr(0, dot);
  if (part.back() == ' ' || part.back() == '.') return false;
  return std::none_of(part.begin(), part.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
  });
}

// The name a descript.ion line gives a description to ("\"name\" text"); empty for another line.
std::string LineName(const std::string& line) {
  if (!line.starts_with('"')) return {};
  const size_t close = line.find('"', 1);
  return close == std::string::npos ? std::string() : line.substr(1, close - 1);
}

// Calls `each` with every line of a descript.ion, its line end included, so that the lines kept
// go back byte for byte.
template <typename Each>
void ForEachLine(const std::string& list, Each&& each) {
  for (size_t start = 0; start < list.size();) {
    size_t end = list.find('\n', start);
    end = end == std::string::npos ? list.size() : end + 1;
    each(list.substr(start, end - start));
    start = end;
  }
}

// The descript.ion without the lines of `names` (as the list spells them); the file is held meanwhile, so a line another
// program appends waits and is kept.
void DropLines(const std::string& folder, const std::set<std::string>& names) {
  Files().EditWhole(folder + kDescriptionList, [&](const std::string& list) {
    std::string kept;
    ForEachLine(list, [&](const std::string& line) {
      if (!names.contains(UpperAscii(LineName(line)))) kept += line;
    });
    return kept;
  });
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

// Makes the file under a name of its own and answers the name. The first change of a second
// takes the stamp alone; later ones in the same second add a number ("20261208-143501-002"),
// which sorts after it and in their order. The file is created only where no file is (another
// host sharing the folder may have taken the name a moment ago): then the next number is tried.
std::string CreateUndoFile(const std::string& folder, const UndoFile& file, const LocalTime& when) {
  const std::string stamp = Stamp(when);
  // The file functions take paths of up to MAX_PATH (260) characters: in a deep settings folder
  // the tweak's part is cut shorter rather than the backup, and with it the Save, refused.
  // (characters as Windows counts them: a folder in Chinese takes three bytes of path text for one)
  const size_t fixed = Utf8ToUtf16(folder).size() + stamp.size() + 4 /* "-002" */ + 2 + file.Extension.size();
  const size_t room = fixed < kMaxPath ? kMaxPath - fixed : 1;
  // Cut in the ANSI code page, where a character is whole, then made path text.
  const std::string tail =
      " " + PathOfAnsi(NamePart(file.TweakName, std::clamp<size_t>(room, 1, kNamePartLength))) + "." + file.Extension;
  const size_t taken = Files().FindFiles(folder + stamp + "*").size();
  for (size_t number = taken + 1; number < taken + 10000; ++number) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "-%03zu", number);
    const std::string name = stamp + (number == 1 ? "" : suffix) + tail;
    const long rc = Files().CreateNew(folder + name, file.Content);
    if (rc == win::kSuccess) return name;
    if (rc == win::kFileExists) continue;
    // A part of a file would pass for a whole one.
    Files().RemoveFile(folder + name);
    RaiseUnableToWrite(folder + name);
  }
  RaiseUnableToWrite(folder + stamp + tail);
}

// descript.ion is ANSI text: the file's name goes in as the code page spells it.
std::string DescriptionLine(const std::string& name, const std::string& description) {
  std::string line = "\"" + AnsiOfPath(name) + "\" ";
  for (char c : description) line += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
  return line + "\r\n";
}

// Deletes the oldest of our files beyond the limit, and their descript.ion lines; never `newest`,
// the file this change wrote. Ours are the files of our names that have a line in descript.ion.
// Oldest is by the time the file was written (in UTC, which neither time zones nor daylight
// saving move), then by name. What cannot be deleted stays; the next change tries again.
void Prune(const std::string& folder, const std::string& newest) {
  std::string list;
  if (Files().ReadWhole(folder + kDescriptionList, &list) != win::kSuccess) return;
  std::set<std::string> described;
  ForEachLine(list, [&](const std::string& line) { described.insert(UpperAscii(LineName(line))); });
  std::vector<FoundFile> ours;
  for (const FoundFile& f : Files().FindFiles(folder + "*"))
    if (!(f.Attributes & win::kAttrDirectory) && IsUndoName(f.Name) && described.contains(UpperAscii(AnsiOfPath(f.Name))) &&
        !EqualsNoCaseAscii(f.Name, newest))
      ours.push_back(f);
  // The newest file counts among the thousand.
  if (ours.size() + 1 <= kMaxUndoFiles) return;
  std::sort(ours.begin(), ours.end(), [](const FoundFile& a, const FoundFile& b) {
    return a.WriteTime != b.WriteTime ? a.WriteTime < b.WriteTime : a.Name < b.Name;
  });
  std::set<std::string> gone;
  for (size_t i = 0; i + kMaxUndoFiles < ours.size() + 1; ++i)
    if (Files().RemoveFile(folder + ours[i].Name)) gone.insert(UpperAscii(AnsiOfPath(ours[i].Name)));
  if (!gone.empty()) DropLines(folder, gone);
}

}  // namespace

std::string UndoFolder(const std::string& iniDir) { return iniDir + "qzr_undo" + kPathDelim; }

std::string UndoTimeText(const LocalTime& when) { return Digits("%04d-%02d-%02d %02d:%02d:%02d", when); }

std::string WriteUndoFile(const std::string& folder, const UndoFile& file, const LocalTime& when) {
  std::string bare = folder;
  if (!bare.empty() && bare.back() == kPathDelim) bare.pop_back();
  if (Files().GetAttributes(bare) == win::kInvalidAttributes) Files().MakeDirectory(bare);
  const std::string path = folder + CreateUndoFile(folder, file, when);
  const bool written = Files().AppendTo(folder + kDescriptionList, DescriptionLine(FileNamePart(path), file.Description)) ==
                           win::kSuccess;
  if (!written) {
    // A backup without its line would be pruned as no backup of ours, and tell no one what it is.
    Files().RemoveFile(path);
    RaiseUnableToWrite(path);
  }
  Prune(folder, FileNamePart(path));
  return path;
}

void WithdrawUndoFile(const std::string& path) {
  const std::string folder = FolderPart(path);
  Files().RemoveFile(path);
  DropLines(folder, {UpperAscii(AnsiOfPath(FileNamePart(path)))});
}

}  // namespace qzr
