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
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

std::string NamePart(const std::string& name) { return name.empty() ? "@=" : "\"" + Escaped(name) + "\"="; }

// The REG_SZ as text when the quoted text, read back, is the same bytes: whole UTF-16 units,
// one terminating zero and none inside.
bool QuotableString(const std::string& data, std::string* text) {
  if (data.size() % 2 != 0) return false;
  const std::u16string units = Utf16FromLeBytes(data);
  if (units.empty() || units.find(u'\0') != units.size() - 1) return false;
  *text = Utf16ToUtf8(std::u16string_view(units).substr(0, units.size() - 1));
  return true;
}

std::string HexList(const std::string& start, const std::string& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = start;
  // Three characters a byte, and a line break of five every 25 bytes or so.
  out.reserve(start.size() + data.size() * 4 + 8);
  // The registry editor counts characters, not the bytes of their UTF-8 form.
  size_t column = Utf8ToUtf16(out).size();
  for (size_t i = 0; i < data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    const bool last = i + 1 == data.size();
    // "xx," and, when more follow on the next line, "\" must fit in the width.
    if (column + 3 + (last ? 0 : 1) > kHexLineWidth) {
      out += "\\\r\n  ";
      column = 2;
    }
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
    column += 2;
    if (!last) {
      out += ',';
      ++column;
    }
  }
  return out + "\r\n";
}

}  // namespace

std::string RegKeyLine(const std::string& keyName, bool deleteKey) {
  return std::string(deleteKey ? "[-" : "[") + keyName + "]\r\n";
}

std::string RegValueLine(const std::string& name, uint32_t type, const std::string& data) {
  const std::string start = NamePart(name);
  if (std::string text; type == win::kRegSz && QuotableString(data, &text)) return start + "\"" + Escaped(text) + "\"\r\n";
  if (type == win::kRegDword && data.size() == 4) {
    char text[16];
    const auto* b = reinterpret_cast<const unsigned char*>(data.data());
    std::snprintf(text, sizeof text, "dword:%02x%02x%02x%02x", b[3], b[2], b[1], b[0]);
    return start + text + "\r\n";
  }
  if (type == win::kRegBinary) return HexList(start + "hex:", data);
  char tag[24];
  std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(type));
  return HexList(start + tag, data);
}

std::string RegDeleteValueLine(const std::string& name) { return NamePart(name) + "-\r\n"; }

std::string RegFileBytes(const std::string& text) { return "\xff\xfe" + Utf16LeBytes(Utf8ToUtf16(text)); }

}  // namespace qzr
