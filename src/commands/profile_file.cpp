// Profile lines read and written, and a tweak's state as a profile keeps it.
#include "commands/profile_file.h"

#include <optional>

#include "apply/apply_save.h"
#include "definitions/value_text.h"
#include "stores/tweak_values.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimBlanks(std::string_view s) {
  s = SkipBlanks(s);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A quoted text at the start of `s` (a quote inside doubled): the text, and `s` moved past the
// closing quote. Nothing when `s` does not begin with a quote or the quote is never closed.
std::optional<std::string> TakeQuoted(std::string_view& s) {
  if (s.empty() || s.front() != '"') return std::nullopt;
  std::string text;
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] != '"') {
      text += s[i];
    } else if (i + 1 < s.size() && s[i + 1] == '"') {
      text += '"';
      ++i;
    } else {
      s.remove_prefix(i + 1);
      return text;
    }
  }
  return std::nullopt;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

struct StateWord {
  std::string_view Text;
  ProfileStateKind Kind;
};
constexpr StateWord kStateWords[] = {
    {"on", ProfileStateKind::kOn}, {"off", ProfileStateKind::kOff}, {"default", ProfileStateKind::kDefault}};

// One line holding an entry; nothing for a line that holds none.
std::optional<ProfileEntry> ParseEntry(std::string_view line) {
  ProfileEntry entry;
  std::string_view rest = SkipBlanks(line);
  if (auto name = TakeQuoted(rest)) {
    entry.Name = std::move(*name);
    rest = SkipBlanks(rest);
    if (rest.empty() || rest.front() != '=') return std::nullopt;
  } else {
    // A hand-written name without quotes: up to the "=", blanks around it dropped.
    const size_t equals = rest.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    entry.Name = std::string(TrimBlanks(rest.substr(0, equals)));
    if (entry.Name.find('"') != std::string::npos) return std::nullopt;
    rest.remove_prefix(equals);
  }
  if (entry.Name.empty()) return std::nullopt;
  rest = SkipBlanks(rest.substr(1));  // past "="
  if (auto value = TakeQuoted(rest)) {
    if (!TrimBlanks(rest).empty()) return std::nullopt;
    entry.State = ProfileState{ProfileStateKind::kValue, std::move(*value)};
    return entry;
  }
  const std::string_view word = TrimBlanks(rest);
  for (const StateWord& w : kStateWords) {
    if (EqualsNoCaseAscii(word, w.Text)) {
      entry.State.Kind = w.Kind;
      return entry;
    }
  }
  return std::nullopt;
}

std::string_view StateWordOf(ProfileStateKind kind) {
  for (const StateWord& w : kStateWords)
    if (w.Kind == kind) return w.Text;
  return {};
}

bool BreaksLine(const std::string& text) { return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

// What the dialog shows after Save has written `typed`: a number in decimal, bytes in upper-case
// hexadecimal (text that is no byte value is written as the default's bytes, as Save does).
// Nothing for text Save would refuse.
std::optional<std::string> ShownAfterSave(const TTWREC& t, const std::string& typed) {
  if (t.DataType == kDataDword) {
    try {
      return std::to_string(TypedTextAsInteger(typed));
    } catch (...) {
      return std::nullopt;
    }
  }
  if (t.DataType == kDataBin) {
    const int32_t size = t.DataSize > 0 ? t.DataSize : 0;
    TRaw bytes(static_cast<size_t>(size), 0);
    if (!ParseHexValue(typed, size, bytes.data())) return ValueToText(t.DefValue, t.DataSize);
    return BytesToHex(bytes, size);
  }
  return typed;
}

// A typed-by-hand tweak's state as it reads: the text the dialog shows, nothing for a setting
// that the default deletes and that is gone.
std::optional<std::string> ReadsAs(const TTWREC& t, const ProfileState& state) {
  if (state.Kind == ProfileStateKind::kValue) return ShownAfterSave(t, state.Value);
  // A CFG file reads a missing key as the default's value, so there the deletion reads as that.
  if (t.PlugType == kPlugCfg && t.DataType == kDataDword) return std::to_string(ValueAsInteger(t.DefValue));
  if (t.PlugType == kPlugCfg) return ValueAsText(t.DefValue);
  if (t.DefDelVal || t.DefDelKey) return std::nullopt;
  return ValueToText(t.DefValue, t.DataSize);
}

}  // namespace

ParsedProfile ParseProfile(std::string_view bytes) {
  ParsedProfile profile;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
  int number = 0;
  while (!bytes.empty()) {
    const size_t end = bytes.find_first_of("\r\n");
    const std::string_view line = bytes.substr(0, end);
    ++number;
    if (end == std::string_view::npos) {
      bytes = {};
    } else {
      const size_t next = bytes.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
      bytes.remove_prefix(next);
    }
    const std::string_view content = SkipBlanks(line);
    if (content.empty() || content.front() == ';') continue;
    if (std::optional<ProfileEntry> entry = ParseEntry(line)) {
      profile.Entries.push_back(std::move(*entry));
      profile.EntryLines.push_back(number);
    } else {
      profile.Faults.push_back(ProfileLineFault{number, std::string(line)});
    }
  }
  return profile;
}

std::string FormatProfile(const std::vector<std::string>& headerLines, const std::vector<ProfileEntry>& entries,
                          std::vector<std::string>* leftOut) {
  std::string text;
  for (const std::string& line : headerLines) text += "; " + line + "\r\n";
  for (const ProfileEntry& entry : entries) {
    const bool valueBreaks = entry.State.Kind == ProfileStateKind::kValue && BreaksLine(entry.State.Value);
    if (entry.Name.empty() || BreaksLine(entry.Name) || valueBreaks) {
      if (leftOut) leftOut->push_back(entry.Name);
      continue;
    }
    text += Quoted(entry.Name) + " = ";
    text += entry.State.Kind == ProfileStateKind::kValue ? Quoted(entry.State.Value)
                                                          : std::string(StateWordOf(entry.State.Kind));
    text += "\r\n";
  }
  return text;
}

ProfileState ProfileStateOf(const TTWREC& tweak, const CurrentValue& current) {
  if (!tweak.ByHands) return ProfileState{IsOn(tweak, current) ? ProfileStateKind::kOn : ProfileStateKind::kOff, {}};
  // A missing value the default deletes is that default. So is a missing key under any default:
  // it reads as nothing, which no typed value gives back, and Windows takes it as the default.
  const bool valueMissing = current.State == ReadState::kValueMissing;
  if (current.State == ReadState::kKeyMissing || (valueMissing && tweak.DefDelVal))
    return ProfileState{ProfileStateKind::kDefault, {}};
  return ProfileState{ProfileStateKind::kValue, ValueToText(current.Value, tweak.DataSize)};
}

bool ShowsState(const TTWREC& tweak, const ProfileState& chosen, const ProfileState& live) {
  if (!tweak.ByHands) {
    // `default` of a switch is the state its default reads as; a typed value is no state of it.
    auto isOn = [&](const ProfileState& s) -> std::optional<bool> {
      switch (s.Kind) {
        case ProfileStateKind::kOn: return true;
        case ProfileStateKind::kOff: return false;
        case ProfileStateKind::kDefault: return DefaultIsOn(tweak);
        case ProfileStateKind::kValue: return std::nullopt;
      }
      return std::nullopt;
    };
    const std::optional<bool> a = isOn(chosen), b = isOn(live);
    return a && b && *a == *b;
  }
  if (chosen.Kind == ProfileStateKind::kOn || chosen.Kind == ProfileStateKind::kOff) return false;
  if (live.Kind == ProfileStateKind::kOn || live.Kind == ProfileStateKind::kOff) return false;
  // A value Save would refuse is never shown; "default" under a deleting default is the setting gone.
  if (chosen.Kind == ProfileStateKind::kValue && !ShownAfterSave(tweak, chosen.Value)) return false;
  return ReadsAs(tweak, chosen) == ReadsAs(tweak, live);
}

}  // namespace qzr
