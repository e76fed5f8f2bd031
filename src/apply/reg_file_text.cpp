// Registry file lines, Unicode form.
#include "apply/reg_file_text.h"

#include <cstdio>

#include "platform/win_codes.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"

namespace qzr {
namespace {

constexpr size_t kHexLineWidth = 80;  // the registry editor's own wrapping of hex lists

// Backslashes and quotes escaped, and line ends too: a raw line end would end the line (the
// registry editor reads "\r" and "\n" back as the characters).
void AppendEscaped(std::string* out, const std::string& text) {
  for (char c : text) {
    switch (c) {
      case '\\': *out += "\\\\"; break;
      case '"': *out += "\\\""; break;
      case '\r': *out += "\\r"; break;
      case '\n': *out += "\\n"; break;
      default: *out += c;
    }
  }
}

// "name"= or @=, the start of every value line.
std::string NamePart(const std::string& name) {
  if (name.empty()) return "@=";
  std::string out = "\"";
  AppendEscaped(&out, name);
  return out += "\"=";
}

// The REG_SZ as text when the quoted text, read back, is the same bytes: whole UTF-16 units,
// one terminating zero and none inside.
bool QuotableString(const std::string& data, std::string* text) {
  if (data.size() % 2 != 0) return false;
  const std::u16string units = Utf16FromLeBytes(data);
  if (units.empty() || units.find(u'\0') != units.size() - 1) return false;
  *text = Utf16ToUtf8(std::u16string_view(units).substr(0, units.size() - 1));
  return true;
}

// `line` (the start of a value line) with the bytes as a hex list and the line's end.
std::string HexList(std::string line, const std::string& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  // The registry editor counts characters, not the bytes of their UTF-8 form.
  size_t column = Utf8ToUtf16(line).size();
  // Three characters a byte, and a line break of five every 25 bytes or so.
  line.reserve(line.size() + data.size() * 4 + 8);
  for (size_t i = 0; i < data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    const bool last = i + 1 == data.size();
    // "xx," and, when more follow on the next line, "\" must fit in the width.
    if (column + 3 + (last ? 0 : 1) > kHexLineWidth) {
      line += "\\\r\n  ";
      column = 2;
    }
    line += kDigits[byte >> 4];
    line += kDigits[byte & 15];
    column += 2;
    if (!last) {
      line += ',';
      ++column;
    }
  }
  return line += "\r\n";
}

}  // namespace

std::string RegKeyLine(const std::string& keyName, bool deleteKey) {
  std::string line;
  line.reserve(keyName.size() + 5);
  return line.append(deleteKey ? "[-" : "[").append(keyName).append("]\r\n");
}

std::string RegValueLine(const std::string& name, uint32_t type, const std::string& data) {
  std::string line = NamePart(name);
  if (std::string text; type == win::kRegSz && QuotableString(data, &text)) {
    line.reserve(line.size() + text.size() + 4);
    line += '"';
    AppendEscaped(&line, text);
    return line += "\"\r\n";
  }
  if (type == win::kRegDword && data.size() == 4) {
    char text[16];
    const auto* b = reinterpret_cast<const unsigned char*>(data.data());
    std::snprintf(text, sizeof text, "dword:%02x%02x%02x%02x", b[3], b[2], b[1], b[0]);
    return line.append(text).append("\r\n");
  }
  if (type == win::kRegBinary) return HexList(std::move(line += "hex:"), data);
  char tag[24];
  std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(type));
  return HexList(std::move(line += tag), data);
}

std::string RegDeleteValueLine(const std::string& name) { return NamePart(name) + "-\r\n"; }

std::string RegFileBytes(const std::string& text) { return "\xff\xfe" + Utf16LeBytes(Utf8ToUtf16(text)); }

}  // namespace qzr
