// The expansion's text kept whole: each round finds every occurrence of its reference in the text
// after the first "%" and copies the text with the value in their place, with each byte's origin.
#include <algorithm>
#include <map>

#include "base/expansion_text.h"

namespace qzr::expansion {

WholeText::WholeText(const std::string& text, size_t maxLength, History& history)
    : history_(history),
      maxLength_(maxLength),
      text_(text),
      origin_(text.size(), kLine) {}

bool WholeText::FirstReference(std::string* name) const {
  open_ = text_.find('%', open_);
  if (open_ == std::string::npos) return false;
  size_t close = text_.find('%', open_ + 1);
  if (close == std::string::npos) return false;
  *name = text_.substr(open_ + 1, close - open_ - 1);
  return true;
}

std::vector<int32_t> WholeText::FirstSources() const {
  return Sources(open_, text_.find('%', open_ + 1) - open_ + 1);
}

bool WholeText::ReplaceAll(const std::string& name, const std::string& value) {
  const std::string token = '%' + name + '%';
  const size_t from = open_;
  size_t hits = 0;
  for (size_t hit = text_.find(token, from); hit != std::string::npos; hit = text_.find(token, hit + token.size()))
    ++hits;
  const size_t room = text_.size() < maxLength_ ? maxLength_ - text_.size() : 0;
  if (value.size() > token.size() && value.size() - token.size() > room / hits) return false;

  const int32_t tokenId = history_.Token(name);
  std::map<std::vector<int32_t>, int32_t> roundInsertions;  // one per distinct set of sources
  // Written into the buffers of the round before, so that a round allocates nothing.
  std::string& out = spareText_;
  std::vector<int32_t>& outOrigin = spareOrigin_;
  out.clear();
  outOrigin.clear();
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
    auto it = roundInsertions.find(sources);
    if (it == roundInsertions.end()) it = roundInsertions.emplace(sources, history_.Insert(tokenId, sources)).first;
    out += value;
    outOrigin.insert(outOrigin.end(), value.size(), it->second);
  }
  keep(pos, text_.size() - pos);
  text_.swap(out);
  origin_.swap(outOrigin);
  return true;
}

std::vector<int32_t> WholeText::Sources(size_t at, size_t count) const {
  std::vector<int32_t> sources;
  for (size_t i = at; i < at + count; ++i)
    if (origin_[i] != kLine && std::find(sources.begin(), sources.end(), origin_[i]) == sources.end())
      sources.push_back(origin_[i]);
  std::sort(sources.begin(), sources.end());
  return sources;
}

}  // namespace qzr::expansion
