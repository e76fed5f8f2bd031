// A Unicode registry file read back: the bytes become text first; lines end with CR LF; a value
// line ending in "\" goes on in the next line after its leading blanks.
#include "reg_file_reader.h"

#include <cstdlib>

#include "util/utf16.h"
#include "util/utf16_bytes.h"

namespace qzr::fuzz {
namespace {

// A quoted text from `at` (just past the opening quote) up to the closing one; `at` ends past it.
bool Unquote(std::string_view line, size_t* at, std::string* text) {
  for (size_t i = *at; i < line.size(); ++i) {
    if (line[i] == '"') {
      *at = i + 1;
      return true;
    }
    if (line[i] != '\\') {
      *text += line[i];
      continue;
    }
    if (++i == line.size()) return false;
    switch (line[i]) {
      case '\\': *text += '\\'; break;
      case '"': *text += '"'; break;
      case 'r': *text += '\r'; break;
      case 'n': *text += '\n'; break;
      default: return false;
    }
  }
  return false;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;  // the writer uses lower case only
}

bool HexBytes(std::string_view list, std::string* data) {
  if (list.empty()) return true;
  for (size_t i = 0;; i += 3) {
    if (i + 2 > list.size() || HexValue(list[i]) < 0 || HexValue(list[i + 1]) < 0) return false;
    *data += static_cast<char>(HexValue(list[i]) * 16 + HexValue(list[i + 1]));
    if (i + 2 == list.size()) return true;
    if (list[i + 2] != ',') return false;
  }
}

bool ReadValue(std::string_view line, std::string* name, uint32_t* type, std::string* data) {
  size_t at = 1;
  if (line[0] == '@') {
    name->clear();
  } else if (!Unquote(line, &at, name) || name->empty()) {
    return false;
  }
  if (at >= line.size() || line[at] != '=') return false;
  const std::string_view rest = line.substr(at + 1);
  if (rest.starts_with("\"")) {
    size_t end = 1;
    *type = 1;
    std::string text;
    if (!Unquote(rest, &end, &text) || end != rest.size()) return false;
    *data = Utf16LeBytes(Utf8ToUtf16(text)) + std::string(2, '\0');
    return true;
  }
  if (rest.starts_with("dword:")) {
    if (rest.size() != 14) return false;
    std::string bytes;
    for (size_t i = 6; i < 14; i += 2)
      if (!HexBytes(rest.substr(i, 2), &bytes)) return false;
    *type = 4;
    *data = std::string(bytes.rbegin(), bytes.rend());
    return true;
  }
  if (rest.starts_with("hex:")) {
    *type = 3;
    return HexBytes(rest.substr(4), data);
  }
  if (rest.starts_with("hex(")) {
    size_t close = rest.find("):");
    if (close == std::string::npos || close == 4) return false;
    const std::string number(rest.substr(4, close - 4));
    char* end = nullptr;
    *type = static_cast<uint32_t>(std::strtoul(number.c_str(), &end, 16));
    return *end == '\0' && HexBytes(rest.substr(close + 2), data);
  }
  return false;
}

}  // namespace

bool ReadRegFile(const std::string& bytes, std::vector<RegFileKey>* keys, std::string* error) {
  if (!bytes.starts_with("\xff\xfe") || bytes.size() % 2 != 0) {
    *error = "no byte-order mark, or half a UTF-16 unit";
    return false;
  }
  const std::string text = Utf16ToUtf8(Utf16FromLeBytes(std::string_view(bytes).substr(2)));
  if (!text.starts_with("Windows Registry Editor Version 5.00\r\n")) {
    *error = "no header line";
    return false;
  }
  // One line at a time, a wrapped hex list joined into one.
  std::string line;
  for (size_t start = 0; start < text.size();) {
    line.clear();
    for (;;) {
      const size_t end = text.find("\r\n", start);
      if (end == std::string::npos) {
        *error = "a line without CR LF";
        return false;
      }
      line.append(text, start, end - start);
      start = end + 2;
      // A wrapped hex list goes on after the blanks of the next line.
      if (!line.ends_with("\\") || text.compare(start, 2, "  ") != 0) break;
      line.pop_back();
      start += 2;
    }
    if (line.empty() || line == "Windows Registry Editor Version 5.00" || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']') {
        *error = "a header without ]: " + line;
        return false;
      }
      const bool deleted = line.starts_with("[-");
      keys->push_back(RegFileKey{line.substr(deleted ? 2 : 1, line.size() - (deleted ? 3 : 2)), deleted, {}});
      continue;
    }
    std::string name, data;
    uint32_t type = 0;
    if (keys->empty() || keys->back().Deleted || (line[0] != '"' && line[0] != '@') ||
        !ReadValue(line, &name, &type, &data)) {
      *error = "a line that is no value: " + line;
      return false;
    }
    if (!keys->back().Values.emplace(std::move(name), std::make_pair(type, std::move(data))).second) {
      *error = "a value named twice: " + line;
      return false;
    }
  }
  return true;
}

}  // namespace qzr::fuzz
