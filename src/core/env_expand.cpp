// %NAME% expansion. Each round takes the first pair of percent signs in the whole text, looks the
// name up and replaces every exact occurrence of that token, then starts again from the top, so
// values may bring in further references. It must end on any input:
// - a "%" with no partner ends the expansion; the rest of the text stays as it is;
// - a token that comes back after it was replaced (a value that refers to itself, directly or
//   through others) ends the expansion with that reference left in the text;
// - a round that would make the text longer than kMaxLength is not made: the text stays as it
//   stood before it, so a line full of references to a long value cannot take all memory;
// - bounds on rounds and on the bytes all rounds together go through (each round reads and
//   copies the text) stop values that keep growing the text and keep a long line with
//   thousands of different references from taking seconds. Real lines stay far below both.
// Nothing before the first "%" changes in a round, so the next round looks on from there.
#include "core/env_expand.h"

#include <set>

#include "platform/platform.h"

namespace qzr {
namespace {

constexpr int kMaxRounds = 4096;
constexpr size_t kMaxLength = 1u << 20;
constexpr size_t kMaxWork = 16u << 20;

// Replaces every occurrence of `token` at or after `from` (there is none before it), left to
// right; false (and `s` unchanged) when the result would be longer than kMaxLength.
bool ReplaceAll(std::string& s, size_t from, const std::string& token, const std::string& value) {
  size_t hits = 0;
  for (size_t hit = s.find(token, from); hit != std::string::npos; hit = s.find(token, hit + token.size())) ++hits;
  const size_t room = s.size() < kMaxLength ? kMaxLength - s.size() : 0;
  if (value.size() > token.size() && value.size() - token.size() > room / hits) return false;
  std::string out;
  out.reserve(s.size() + hits * value.size() - hits * token.size());
  out.append(s, 0, from);
  size_t pos = from;
  for (size_t hit; (hit = s.find(token, pos)) != std::string::npos; pos = hit + token.size()) {
    out.append(s, pos, hit - pos);
    out += value;
  }
  out.append(s, pos, std::string::npos);
  s = std::move(out);
  return true;
}

}  // namespace

std::string ExpandEnvVars(const std::string& text) {
  std::string s = text;
  std::set<std::string> replaced;
  size_t open = 0, work = 0;
  for (int round = 0; round < kMaxRounds; ++round) {
    open = s.find('%', open);
    if (open == std::string::npos) break;
    size_t close = s.find('%', open + 1);
    if (close == std::string::npos) break;
    work += s.size();
    if (work > kMaxWork) break;
    std::string token = s.substr(open, close - open + 1);
    if (!replaced.insert(token).second) break;
    std::string name = token.substr(1, token.size() - 2);
    if (!ReplaceAll(s, open, token, Os().system->GetEnv(name).value_or(std::string()))) break;
  }
  return s;
}

}  // namespace qzr
