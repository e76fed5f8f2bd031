// POSIX substitute for the profile API on real INI files, answering as Wine does:
//  - lines end at CR LF, LF or CR; each is trimmed; blank lines are dropped when the file is
//    rewritten, which happens only when something changes, always with CR LF;
//  - "[name]" opens a section (the name runs to the last "]"); lines above the first one form
//    the nameless section ""; only the first of equal sections counts;
//  - any other line is a key: the text before "=" (a line without "=" is a key with no value,
//    a ";" line a key like any other); names compare without regard to case, the first wins;
//  - values are trimmed and lose one pair of enclosing quotes on reading; section, key and
//    value lose their leading blanks when written;
//  - key lists leave out ";" keys and keys without a value, and give the default when the list
//    is empty or starts with an empty name; the nameless section is not in the section list.
#include <algorithm>
#include <mutex>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#include "platform/posix/zero_terminated.h"
#include "util/text.h"

namespace qzr::posix {
namespace {

// Calls from several threads follow one another, as Windows serializes its profile functions:
// a reader never sees a file half rewritten.
std::mutex& ProfileMutex() {
  static std::mutex mutex;
  return mutex;
}

struct IniLine {
  enum Kind { kBlank, kSection, kKey } kind = kBlank;
  std::string name;   // section name or key
  std::string value;  // kKey: the text after "=", as read
  bool hasValue = false;
};

struct Region {
  bool found = false;
  size_t header = 0;  // index of the "[name]" line; unused for the nameless section
  bool nameless = false;
  size_t first = 0;  // first line after the header
  size_t end = 0;    // the next header, or the end
};

std::string_view TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32) ++b;
  return s.substr(b);
}

std::vector<IniLine> ParseIni(std::string_view content) {
  std::vector<IniLine> lines;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t end = std::min(content.find_first_of("\r\n", pos), content.size());
    std::string_view t = TrimControl(content.substr(pos, end - pos));
    pos = end < content.size() ? end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1) : end;
    IniLine line;
    size_t close = t.rfind(']');
    if (t.empty()) {
      line.kind = IniLine::kBlank;
    } else if (t.front() == '[' && close != std::string_view::npos && close > 0) {
      line.kind = IniLine::kSection;
      line.name = std::string(TrimControl(t.substr(1, close - 1)));
    } else {
      size_t eq = t.find('=');
      line.kind = IniLine::kKey;
      line.hasValue = eq != std::string_view::npos;
      line.name = std::string(TrimControl(t.substr(0, eq)));
      if (line.hasValue) line.value = std::string(TrimLeft(t.substr(eq + 1)));
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string JoinIni(const std::vector<IniLine>& lines) {
  std::string out;
  for (const IniLine& line : lines) {
    if (line.kind == IniLine::kBlank) continue;
    if (line.kind == IniLine::kSection)
      out += "[" + line.name + "]";
    else
      out += line.hasValue ? line.name + "=" + line.value : line.name;
    out += "\r\n";
  }
  return out;
}

std::string ReadValue(const std::string& raw) {
  std::string v(TrimControl(raw));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return v;
}

size_t NextHeader(const std::vector<IniLine>& lines, size_t from) {
  while (from < lines.size() && lines[from].kind != IniLine::kSection) ++from;
  return from;
}

Region FindSection(const std::vector<IniLine>& lines, const std::string& wanted) {
  std::string_view name = TrimControl(wanted);
  Region r;
  if (name.empty()) {
    r.found = r.nameless = true;
    r.end = NextHeader(lines, 0);
    return r;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != IniLine::kSection || !EqualsNoCaseAscii(lines[i].name, name)) continue;
    r.found = true;
    r.header = i;
    r.first = i + 1;
    r.end = NextHeader(lines, i + 1);
    return r;
  }
  return r;
}

// The first key of the region with that name, with or without a value; npos when none.
size_t FindKey(const std::vector<IniLine>& lines, const Region& r, const std::string& wanted) {
  std::string_view name = TrimControl(wanted);
  for (size_t i = r.first; i < r.end; ++i)
    if (lines[i].kind == IniLine::kKey && EqualsNoCaseAscii(lines[i].name, name)) return i;
  return std::string::npos;
}

std::string Truncate(std::string text, uint32_t bufferSize) {
  if (text.size() > bufferSize - 1) text.resize(bufferSize - 1);
  return text;
}

// A zero-separated list as the buffer receives it: cut to bufferSize - 2 when it does not fit.
std::string TruncateList(std::string list, uint32_t bufferSize) {
  if (list.size() + 1 > bufferSize) list.resize(bufferSize >= 2 ? bufferSize - 2 : 0);
  return list;
}

}  // namespace

std::string Profile::GetString(const std::optional<std::string>& sectionGiven,
                               const std::optional<std::string>& keyGiven, const std::string& defaultGiven,
                               uint32_t bufferSize, const std::string& fileNameGiven) {
  std::lock_guard lock(ProfileMutex());
  const std::optional<std::string> section = ZeroTerminated(sectionGiven), key = ZeroTerminated(keyGiven);
  const std::string defaultValue = ZeroTerminated(defaultGiven), fileName = ZeroTerminated(fileNameGiven);
  if (bufferSize == 0) return {};
  std::string content;
  files_.ReadWhole(fileName, &content);
  std::vector<IniLine> lines = ParseIni(content);
  if (!section) {
    std::string list;
    for (const IniLine& line : lines)
      if (line.kind == IniLine::kSection) list += line.name + '\0';
    return TruncateList(list, bufferSize);
  }
  Region r = FindSection(lines, *section);
  if (!key) {
    std::string list;
    for (size_t i = r.first; r.found && i < r.end; ++i) {
      const IniLine& line = lines[i];
      if (line.kind == IniLine::kKey && line.hasValue && (line.name.empty() || line.name.front() != ';'))
        list += line.name + '\0';
    }
    if (list.empty() || list.front() == '\0') return Truncate(defaultValue, bufferSize);
    return TruncateList(list, bufferSize);
  }
  size_t i = r.found ? FindKey(lines, r, *key) : std::string::npos;
  if (i != std::string::npos && lines[i].hasValue) return Truncate(ReadValue(lines[i].value), bufferSize);
  std::string fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return Truncate(fallback, bufferSize);
}

bool Profile::WriteString(const std::optional<std::string>& sectionGiven, const std::optional<std::string>& keyGiven,
                          const std::optional<std::string>& valueGiven, const std::string& fileNameGiven) {
  std::lock_guard lock(ProfileMutex());
  const std::optional<std::string> section = ZeroTerminated(sectionGiven), key = ZeroTerminated(keyGiven),
                                   value = ZeroTerminated(valueGiven);
  const std::string fileName = ZeroTerminated(fileNameGiven);
  if (!section) return true;  // a flush: the substitute keeps no cache
  if (Faults::Check("ProfileWrite", fileName)) return false;
  std::string content;
  // A file that is there but cannot be read is refused whole: rewriting it from nothing would
  // keep the new entry alone. A missing file starts empty.
  if (long rc = files_.ReadWhole(fileName, &content); rc != win::kSuccess && rc != win::kFileNotFound) return false;
  std::vector<IniLine> lines = ParseIni(content);
  Region r = FindSection(lines, *section);
  auto at = [&](size_t i) { return lines.begin() + static_cast<std::ptrdiff_t>(i); };

  if (!key || !value) {  // erase a section or delete a key: nothing is rewritten when it is absent
    if (!r.found) return true;
    if (!key) {
      lines.erase(at(r.nameless ? 0 : r.header), at(r.end));
    } else {
      size_t i = FindKey(lines, r, *key);
      if (i == std::string::npos) return true;
      lines.erase(at(i));
    }
  } else if (!r.found) {
    lines.push_back(IniLine{IniLine::kSection, std::string(TrimLeft(*section)), "", false});
    lines.push_back(IniLine{IniLine::kKey, std::string(TrimLeft(*key)), std::string(TrimLeft(*value)), true});
  } else if (size_t i = FindKey(lines, r, *key); i != std::string::npos) {
    lines[i].value = std::string(TrimLeft(*value));
    lines[i].hasValue = true;
  } else {
    lines.insert(at(r.end), IniLine{IniLine::kKey, std::string(TrimLeft(*key)), std::string(TrimLeft(*value)), true});
  }
  return files_.WriteWhole(fileName, JoinIni(lines)) == win::kSuccess;
}

}  // namespace qzr::posix
