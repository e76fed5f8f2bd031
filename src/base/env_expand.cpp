// %NAME% expansion. Each round takes the first pair of percent signs in the whole text, looks the
// name up and replaces every exact occurrence of that token, then starts again from the top, so
// values may bring in further references. It must end on any input:
// - a "%" with no partner ends the expansion; the rest of the text stays as it is;
// - a reference that a value brought back into the text, directly or through other values, is a
//   cycle: the expansion ends with that reference left in the text. Only the text that the
//   reference's own value brought in counts, so the same variable may be used again in other
//   places (QA=x, QB=%QA%: "%QA%%QB%" gives "xx");
// - a round that would make the text longer than kMaxLength is not made: the text stays as it
//   stood before it, so a line full of references to a long value cannot take all memory;
// - bounds on rounds and on the bytes all rounds together go through (each round reads and
//   copies the text) stop values that keep growing the text and keep a long line with
//   thousands of different references from taking seconds. Real lines stay far below both.
// Nothing before the first "%" changes in a round, so the next round looks on from there.
#include "base/env_expand.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/platform.h"

namespace qzr {
namespace {

constexpr int kMaxRounds = 4096;
constexpr size_t kMaxLength = 1u << 20;
constexpr size_t kMaxWork = 16u << 20;

// The text with, for every byte, where it came from: the line itself, or one insertion of a
// value. An insertion knows its token and the insertions its occurrence was made of, so the
// values a reference descends from can be traced back.
class Expansion {
 public:
  explicit Expansion(const std::string& text) : text_(text), origin_(text.size(), kLine) {}

  const std::string& Text() const { return text_; }

  // Whether `token` at `at` was brought in by the value of that same token, at any depth.
  bool IsCycle(size_t at, const std::string& token) const {
    auto id = tokens_.find(token);
    if (id == tokens_.end()) return false;
    std::vector<int32_t> pending = Sources(at, token.size());
    std::vector<bool> seen(insertions_.size());
    while (!pending.empty()) {
      int32_t i = pending.back();
      pending.pop_back();
      if (seen[i]) continue;
      seen[i] = true;
      if (insertions_[i].Token == id->second) return true;
      pending.insert(pending.end(), insertions_[i].Sources.begin(), insertions_[i].Sources.end());
    }
    return false;
  }

  // Replaces every occurrence of `token` at or after `from` (there is none before it), left to
  // right; false (and nothing changed) when the text would grow longer than kMaxLength.
  bool ReplaceAll(size_t from, const std::string& token, const std::string& value) {
    size_t hits = 0;
    for (size_t hit = text_.find(token, from); hit != std::string::npos; hit = text_.find(token, hit + token.size()))
      ++hits;
    const size_t room = text_.size() < kMaxLength ? kMaxLength - text_.size() : 0;
    if (value.size() > token.size() && value.size() - token.size() > room / hits) return false;

    const int32_t tokenId = tokens_.emplace(token, static_cast<int32_t>(tokens_.size())).first->second;
    std::map<std::vector<int32_t>, int32_t> roundInsertions;  // one per distinct set of sources
    std::string out;
    std::vector<int32_t> outOrigin;
    const size_t newSize = text_.size() + hits * value.size() - hits * token.size();
    out.reserve(newSize);
    outOrigin.reserve(newSize);
    auto keep = [&](size_t pos, size_t count) {
      out.append(text_, pos, count);
      outOrigin.insert(outOrigin.end(), origin_.begin() + pos, origin_.begin() + pos + count);
    };
    keep(0, from);
    size_t pos = from;
    for (size_t hit; (hit = text_.find(token, pos)) != std::string::npos; pos = hit + token.size()) {
      keep(pos, hit - pos);
      if (value.empty()) continue;
      std::vector<int32_t> sources = Sources(hit, token.size());
      auto [it, added] = roundInsertions.emplace(sources, static_cast<int32_t>(insertions_.size()));
      if (added) insertions_.push_back({tokenId, std::move(sources)});
      out += value;
      outOrigin.insert(outOrigin.end(), value.size(), it->second);
    }
    keep(pos, text_.size() - pos);
    text_ = std::move(out);
    origin_ = std::move(outOrigin);
    return true;
  }

 private:
  static constexpr int32_t kLine = -1;
  struct Insertion {
    int32_t Token;
    std::vector<int32_t> Sources;
  };

  // The insertions the bytes [at, at + count) came from, each once.
  std::vector<int32_t> Sources(size_t at, size_t count) const {
    std::vector<int32_t> sources;
    for (size_t i = at; i < at + count; ++i)
      if (origin_[i] != kLine && std::find(sources.begin(), sources.end(), origin_[i]) == sources.end())
        sources.push_back(origin_[i]);
    std::sort(sources.begin(), sources.end());
    return sources;
  }

  std::string text_;
  std::vector<int32_t> origin_;
  std::vector<Insertion> insertions_;
  std::map<std::string, int32_t> tokens_;
};

}  // namespace

std::string ExpandEnvVars(const std::string& text) {
  if (text.find('%') == std::string::npos) return text;
  Expansion s(text);
  size_t open = 0, work = 0;
  for (int round = 0; round < kMaxRounds; ++round) {
    open = s.Text().find('%', open);
    if (open == std::string::npos) break;
    size_t close = s.Text().find('%', open + 1);
    if (close == std::string::npos) break;
    work += s.Text().size();
    if (work > kMaxWork) break;
    std::string token = s.Text().substr(open, close - open + 1);
    if (s.IsCycle(open, token)) break;
    std::string name = token.substr(1, token.size() - 2);
    if (!s.ReplaceAll(open, token, Os().system->GetEnv(name).value_or(std::string()))) break;
  }
  return s.Text();
}

}  // namespace qzr
