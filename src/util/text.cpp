// Byte-string helpers.
#include "util/text.h"

#include <algorithm>

namespace qzr {
namespace {

#ifdef _WIN32
constexpr char kDelim = '\\';
bool IsFolderEnd(char c) { return c == '\\' || c == ':'; }
// Windows takes "/" for "\\" too; "C:" starts at a drive.
bool IsRooted(std::string_view p) { return (!p.empty() && (p[0] == '\\' || p[0] == '/')) || (p.size() >= 2 && p[1] == ':'); }
#else
constexpr char kDelim = '/';
bool IsFolderEnd(char c) { return c == '/'; }
bool IsRooted(std::string_view p) { return !p.empty() && p[0] == '/'; }
#endif

size_t FolderEnd(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsFolderEnd(path[i - 1])) return i;
  }
  return 0;
}

}  // namespace

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

bool LessNoCaseAscii(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(UpperAscii(a[i]));
    auto y = static_cast<unsigned char>(UpperAscii(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::string_view TrimControl(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

std::string FolderPart(std::string_view path) { return std::string(path.substr(0, FolderEnd(path))); }

std::string FileNamePart(std::string_view path) { return std::string(path.substr(FolderEnd(path))); }

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != kDelim) out += kDelim;
  out += name;
  return out;
}

bool IsRootedPath(std::string_view path) { return IsRooted(path); }

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd') &&
        next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::vector<std::string> KeyPathParts(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') {
      if (i > start) parts.emplace_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

}  // namespace qzr
