// The .tweak line parser. A line acts through up to four keywords: "SECTION>" and "TYPE>" each
// on their own, then the first found of the second group, then the first found of the third.
#include "definitions/tweak_parser.h"

#include <cstring>
#include <string>

#include "base/env_expand.h"
#include "base/int_text.h"
#include "util/text.h"

namespace qzr {
namespace {

enum class Key { OS, ValueType, ValueName, TweakName, RootKey, Path, NotBool, ValueOff, ValueOn, Default, Size };

struct Keyword {
  std::string_view word;
  Key key;
};

// Tested in this order; the first one found in a line wins.
constexpr Keyword kSettingKeywords[] = {
    {"OS>", Key::OS},           {"VALUETYPE>", Key::ValueType}, {"VALUENAME>", Key::ValueName},
    {"TWEAKNAME>", Key::TweakName}, {"ROOTKEY>", Key::RootKey}, {"PATH>", Key::Path},
    {"NOTBOOL>", Key::NotBool},
};
constexpr Keyword kValueKeywords[] = {
    {"VALUEOFF>", Key::ValueOff}, {"VALUEON>", Key::ValueOn}, {"DEFAULT>", Key::Default}, {"SIZE>", Key::Size}};

struct Word {
  std::string_view text;
  uint8_t code;
};
constexpr Word kStoreWords[] = {{"REG", kPlugReg}, {"INI", kPlugIni}, {"CFG", kPlugCfg}};
constexpr Word kOSWords[] = {{"9X", kOS9x}, {"NT", kOSNT}};
constexpr Word kDataWords[] = {{"DWORD", kDataDword}, {"STRING", kDataString}, {"BIN", kDataBin}};
constexpr Word kRootWords[] = {
    {"HKLM", kRootLocalMachine}, {"HKCU", kRootCurrentUser}, {"HKU", kRootUsers}, {"HKCR", kRootClassesRoot}};

// Sets `code` from the word list when `value` is one of its words (the whole value, any case).
template <size_t N>
bool MatchWord(const Word (&words)[N], std::string_view value, uint8_t& code) {
  for (const Word& w : words) {
    if (EqualsNoCaseAscii(value, w.text)) {
      code = w.code;
      return true;
    }
  }
  return false;
}

// The keyword's value in the line: what follows its first occurrence, trimmed; false when the
// keyword is not in the line.
bool FindValue(std::string_view keyword, std::string_view line, std::string_view& value) {
  int pos = KeywordPos(keyword, line);
  if (pos == 0) return false;
  value = TrimControl(line.substr(static_cast<size_t>(pos) - 1 + keyword.size()));
  return true;
}

template <size_t N>
bool FindFirst(const Keyword (&group)[N], std::string_view line, Key& key, std::string_view& value) {
  for (const Keyword& k : group) {
    if (FindValue(k.word, line, value)) {
      key = k.key;
      return true;
    }
  }
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// What "#SYSDELVAL" and "#SYSDELKEY" store: the zero of the record's data type.
void StoreZero(const TTWREC& r, TweakValue& target) {
  switch (r.DataType) {
    case kDataDword: target.emplace<int32_t>(0); break;
    case kDataString: target.emplace<std::string>(); break;
    case kDataBin: target = HexToRaw("00000000", r.DataSize); break;
    default: break;
  }
}

void StoreValue(const TTWREC& r, std::string_view value, TweakValue& target, bool& delVal, bool& delKey) {
  if (EqualsNoCaseAscii(value, "#SYSDELKEY")) {
    delKey = true;
    StoreZero(r, target);
    return;
  }
  if (EqualsNoCaseAscii(value, "#SYSDELVAL")) {
    delVal = true;
    StoreZero(r, target);
    return;
  }
  switch (r.DataType) {
    case kDataDword: target.emplace<int32_t>(TextToIntDef(value, 0)); break;
    case kDataString: target.emplace<std::string>(value); break;
    case kDataBin: target = HexToRaw(value, r.DataSize); break;
    default: break;  // no type yet: the value has no form to take
  }
}

void ApplySetting(TTWREC& r, Key key, std::string_view value) {
  switch (key) {
    case Key::OS: MatchWord(kOSWords, value, r.OSKind); break;
    case Key::ValueType:
      r.DataType = kDataNone;
      MatchWord(kDataWords, value, r.DataType);
      break;
    case Key::ValueName: r.VarName = value; break;
    case Key::TweakName: r.TweakName = value; break;
    case Key::RootKey:
      r.RootKey = kRootUnknown;
      MatchWord(kRootWords, value, r.RootKey);
      break;
    case Key::Path: r.Path = value; break;
    case Key::NotBool: r.ByHands = value == "1"; break;
    default: break;
  }
}

void ApplyValue(TTWREC& r, Key key, std::string_view value) {
  switch (key) {
    case Key::ValueOff: StoreValue(r, value, r.ValueOff, r.ValueOffDelVal, r.ValueOffDelKey); break;
    case Key::ValueOn: StoreValue(r, value, r.ValueOn, r.ValueOnDelVal, r.ValueOnDelKey); break;
    case Key::Default: StoreValue(r, value, r.DefValue, r.DefDelVal, r.DefDelKey); break;
    case Key::Size: r.DataSize = TextToIntDef(value, 0); break;
    default: break;
  }
}

}  // namespace

int KeywordPos(std::string_view keyword, std::string_view text) {
  if (keyword.empty() || keyword.size() > text.size()) return 0;
  const size_t last = keyword.size() - 1;
  auto matchesAt = [&](size_t i) {
    size_t k = 0;
    while (k < keyword.size() && UpperAscii(text[i + k]) == UpperAscii(keyword[k])) ++k;
    return k == keyword.size();
  };
  // Every line is searched for every keyword. The keywords end in ">" (or "/"), which has no
  // case and is rare in a line: the search jumps from one to the next, and the earliest end of
  // an occurrence is the end of the earliest one.
  if (UpperAscii(keyword[last]) == LowerAscii(keyword[last])) {
    const char* const begin = text.data();
    for (size_t end = last; end < text.size(); ++end) {
      const void* at = std::memchr(begin + end, keyword[last], text.size() - end);
      if (!at) return 0;
      end = static_cast<size_t>(static_cast<const char*>(at) - begin);
      if (matchesAt(end - last)) return static_cast<int>(end - last) + 1;
    }
    return 0;
  }
  for (size_t i = 0; i + keyword.size() <= text.size(); ++i)
    if (matchesAt(i)) return static_cast<int>(i) + 1;
  return 0;
}

TRaw HexToRaw(std::string_view text, int32_t dataSize) {
  if (text.empty() || dataSize < 0 || dataSize > kMaxBinSize) return {};
  TRaw bytes(static_cast<size_t>(dataSize), 0);
  for (size_t k = 0; k < bytes.size() && 2 * k < text.size(); ++k) {
    std::string_view pair = text.substr(2 * k, 2);
    int value = 0;
    for (char c : pair) {
      int d = HexDigit(c);
      if (d < 0) {
        value = 0;
        break;
      }
      value = value * 16 + d;
    }
    bytes[k] = static_cast<uint8_t>(value);
  }
  return bytes;
}

void ParseTweakLine(TTWREC& r, std::string_view rawLine) {
  // Expansion copies the line; most lines name no variable and are read where they lie.
  std::string expanded;
  std::string_view line = rawLine;
  if (rawLine.find('%') != std::string_view::npos) {
    expanded = ExpandEnvVars(std::string(rawLine));
    line = expanded;
  }

  std::string_view value;
  if (FindValue("SECTION>", line, value)) r.Section = UpperAscii(value);
  if (FindValue("TYPE>", line, value)) MatchWord(kStoreWords, value, r.PlugType);
  Key key{};
  if (FindFirst(kSettingKeywords, line, key, value)) ApplySetting(r, key, value);
  if (FindFirst(kValueKeywords, line, key, value)) ApplyValue(r, key, value);
}

}  // namespace qzr
