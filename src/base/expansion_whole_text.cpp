// The expansion's text kept whole: each round finds every occurrence of its reference in the text
// after the first "%" and copies the text with the value in their place, with each byte's origin.
#include <algorithm>
#include <cstring>
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

// The occurrences of "%name%" from `from` on, left to right, into hits_. A name holds no "%", so
// an occurrence is a "%" whose next "%" follows the name: the search steps from sign to sign
// (memchr) and compares bytes only where the gap has the name's length, never calling memcmp,
// which a sanitizer build intercepts and traces at a cost many times the search's own.
void WholeText::FindAll(const std::string& name, size_t from) {
  hits_.clear();
  const char* const begin = text_.data();
  const char* const end = begin + text_.size();
  const char* sign = begin + from;
  while (sign < end && (sign = static_cast<const char*>(std::memchr(sign, '%', end - sign)))) {
    const char* next = static_cast<const char*>(std::memchr(sign + 1, '%', end - sign - 1));
    if (!next) break;
    if (static_cast<size_t>(next - sign - 1) == name.size() && SameBytes(sign + 1, name)) {
      hits_.push_back(static_cast<size_t>(sign - begin));
      sign = next + 1;
    } else {
      sign = next;
    }
  }
}

bool WholeText::SameBytes(const char* at, const std::string& name) {
  for (char c : name)
    if (*at++ != c) return false;
  return true;
}

bool WholeText::ReplaceAll(const std::string& name, const std::string& value) {
  const size_t tokenSize = name.size() + 2;
  const size_t from = open_;
  FindAll(name, from);
  const size_t hits = hits_.size();
  const size_t room = text_.size() < maxLength_ ? maxLength_ - text_.size() : 0;
  if (value.size() > tokenSize && value.size() - tokenSize > room / hits) return false;

  const int32_t tokenId = history_.Token(name);
  std::map<std::vector<int32_t>, int32_t> roundInsertions;  // one per distinct set of sources
  // Written into the buffers of the round before, so that a round allocates nothing.
  std::string& out = spareText_;
  std::vector<int32_t>& outOrigin = spareOrigin_;
  out.clear();
  outOrigin.clear();
  const size_t newSize = text_.size() + hits * value.size() - hits * tokenSize;
  out.reserve(newSize);
  outOrigin.reserve(newSize);
  auto keep = [&](size_t pos, size_t count) {
    out.append(text_, pos, count);
    outOrigin.insert(outOrigin.end(), origin_.begin() + pos, origin_.begin() + pos + count);
  };
  keep(0, from);
  size_t pos = from;
  for (size_t hit : hits_) {
    keep(pos, hit - pos);
    pos = hit + tokenSize;
    if (value.empty()) continue;
    std::vector<int32_t> sources = Sources(hit, tokenSize);
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
