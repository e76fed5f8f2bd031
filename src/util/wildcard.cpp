// Iterative wildcard matcher: backtracks only to the last "*", so it runs in linear-ish time
// on hostile masks instead of exponential.
#include "util/wildcard.h"

#include "util/text.h"

namespace qzr {
namespace {

// Matches one bracket set at mask[m] against c; returns the index after "]" or npos when the
// set is malformed (then "[" is an ordinary character).
size_t MatchSet(std::string_view mask, size_t m, char c, bool* hit) {
  size_t i = m + 1;
  bool negate = i < mask.size() && mask[i] == '!';
  if (negate) ++i;
  bool found = false;
  bool first = true;
  char uc = UpperAscii(c);
  while (i < mask.size() && (first || mask[i] != ']')) {
    first = false;
    char lo = UpperAscii(mask[i]);
    char hi = lo;
    if (i + 2 < mask.size() && mask[i + 1] == '-' && mask[i + 2] != ']') {
      hi = UpperAscii(mask[i + 2]);
      i += 2;
    }
    if (static_cast<unsigned char>(uc) >= static_cast<unsigned char>(lo) &&
        static_cast<unsigned char>(uc) <= static_cast<unsigned char>(hi))
      found = true;
    ++i;
  }
  if (i >= mask.size()) return std::string_view::npos;
  *hit = found != negate;
  return i + 1;
}

}  // namespace

bool WildcardMatch(std::string_view mask, std::string_view name, bool allowSets) {
  size_t m = 0, n = 0;
  size_t starM = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size()) {
      char mc = mask[m];
      if (mc == '*') {
        starM = m++;
        starN = n;
        continue;
      }
      if (mc == '?') {
        ++m, ++n;
        continue;
      }
      if (mc == '[' && allowSets) {
        bool hit = false;
        size_t next = MatchSet(mask, m, name[n], &hit);
        if (next != std::string_view::npos) {
          if (hit) {
            m = next, ++n;
            continue;
          }
        } else if (UpperAscii(mc) == UpperAscii(name[n])) {
          ++m, ++n;
          continue;
        }
      } else if (UpperAscii(mc) == UpperAscii(name[n])) {
        ++m, ++n;
        continue;
      }
    }
    if (starM == std::string_view::npos) return false;
    m = starM + 1;
    n = ++starN;
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace qzr
