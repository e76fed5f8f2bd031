// POSIX substitute for the profile API on real INI files, answering as Windows does: names
// without regard to case, the first of duplicate sections and keys wins, values trimmed and
// unquoted on reading, key and section lists as zero-separated strings, and edits that keep
// every other line of the file in place.
#include <algorithm>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#include "util/text.h"

namespace qzr::posix {
namespace {

struct IniLine {
  enum Kind { kOther, kSection, kEntry } kind = kOther;
  std::string text;   // the line as read (kOther), the section name, or the key
  std::string value;  // kEntry: the raw text after "="
  bool hasEquals = false;
};

std::vector<IniLine> ParseIni(const std::string& content) {
  std::vector<IniLine> lines;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t end = content.find('\n', pos);
    if (end == std::string::npos) end = content.size();
    std::string raw = content.substr(pos, end - pos);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    pos = end + 1;
    std::string_view t = TrimControl(raw);
    IniLine line;
    if (!t.empty() && t.front() == '[') {
      size_t close = t.rfind(']');
      line.kind = IniLine::kSection;
      line.text = std::string(TrimControl(t.substr(1, close == std::string_view::npos || close == 0 ? t.size() - 1 : close - 1)));
    } else if (!t.empty()) {
      size_t eq = t.find('=');
      line.kind = IniLine::kEntry;
      line.hasEquals = eq != std::string_view::npos;
      line.text = std::string(TrimControl(t.substr(0, eq)));
      if (line.hasEquals) line.value = std::string(t.substr(eq + 1));
    } else {
      line.text = raw;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string JoinIni(const std::vector<IniLine>& lines) {
  std::string out;
  for (const IniLine& line : lines) {
    switch (line.kind) {
      case IniLine::kSection: out += "[" + line.text + "]"; break;
      case IniLine::kEntry: out += line.hasEquals ? line.text + "=" + line.value : line.text; break;
      case IniLine::kOther: out += line.text; break;
    }
    out += "\r\n";
  }
  return out;
}

std::string ReadValue(const std::string& raw) {
  std::string v(TrimControl(raw));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return v;
}

// [begin, end) of the first section called `name`; begin is the header line. end == begin when absent.
std::pair<size_t, size_t> FindSection(const std::vector<IniLine>& lines, const std::string& name) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != IniLine::kSection || !EqualsNoCaseAscii(lines[i].text, name)) continue;
    size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != IniLine::kSection) ++end;
    return {i, end};
  }
  return {lines.size(), lines.size()};
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

std::string Profile::GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                               const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) {
  if (bufferSize == 0) return {};
  std::string content;
  files_.ReadWhole(fileName, &content);
  std::vector<IniLine> lines = ParseIni(content);
  if (!section) {
    std::string list;
    for (const IniLine& line : lines)
      if (line.kind == IniLine::kSection) list += line.text + '\0';
    return TruncateList(list, bufferSize);
  }
  auto [begin, end] = FindSection(lines, *section);
  if (!key) {
    std::string list;
    for (size_t i = begin + 1; i < end; ++i)
      if (lines[i].kind == IniLine::kEntry && lines[i].hasEquals) list += lines[i].text + '\0';
    if (list.empty()) return Truncate(defaultValue, bufferSize);
    return TruncateList(list, bufferSize);
  }
  for (size_t i = begin + 1; i < end; ++i) {
    if (lines[i].kind == IniLine::kEntry && lines[i].hasEquals && EqualsNoCaseAscii(lines[i].text, *key))
      return Truncate(ReadValue(lines[i].value), bufferSize);
  }
  std::string fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return Truncate(fallback, bufferSize);
}

bool Profile::WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value, const std::string& fileName) {
  if (!section) return true;  // a flush: the substitute keeps no cache
  if (Faults::Check("ProfileWrite", fileName)) return false;
  std::string content;
  files_.ReadWhole(fileName, &content);
  std::vector<IniLine> lines = ParseIni(content);
  auto [begin, end] = FindSection(lines, *section);
  bool found = begin < lines.size();

  if (!key || !value) {  // erase a section or delete a key: nothing to do when it is absent
    if (!found) return true;
    if (!key) {
      lines.erase(lines.begin() + static_cast<long>(begin), lines.begin() + static_cast<long>(end));
    } else {
      auto it = std::find_if(lines.begin() + static_cast<long>(begin) + 1, lines.begin() + static_cast<long>(end),
                             [&](const IniLine& l) { return l.kind == IniLine::kEntry && EqualsNoCaseAscii(l.text, *key); });
      if (it == lines.begin() + static_cast<long>(end)) return true;
      lines.erase(it);
    }
  } else if (!found) {
    lines.push_back(IniLine{IniLine::kSection, *section, "", false});
    lines.push_back(IniLine{IniLine::kEntry, *key, *value, true});
  } else {
    size_t insertAt = begin + 1;
    bool replaced = false;
    for (size_t i = begin + 1; i < end; ++i) {
      if (lines[i].kind != IniLine::kEntry) continue;
      if (lines[i].hasEquals && EqualsNoCaseAscii(lines[i].text, *key)) {
        lines[i].value = *value;
        replaced = true;
        break;
      }
      insertAt = i + 1;
    }
    if (!replaced) lines.insert(lines.begin() + static_cast<long>(insertAt), IniLine{IniLine::kEntry, *key, *value, true});
  }
  return files_.WriteWhole(fileName, JoinIni(lines)) == win::kSuccess;
}

}  // namespace qzr::posix
