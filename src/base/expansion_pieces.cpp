// The expansion's text as the pieces between its percent signs. A name never holds "%", so an
// occurrence of "%NAME%" is two neighbouring percent signs with NAME between them: the pieces
// are linked in order and found by a hash of what they hold, so a round visits the pieces that
// hold its name and joins their neighbours, and never reads the rest. Two occurrences that
// share a percent sign ("%A%A%") are neighbouring pieces: the left one is replaced and the right
// one is not, as a search from left to right finds them.
#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/expansion_piece_index.h"
#include "base/expansion_text.h"

namespace qzr::expansion {
namespace {

constexpr int32_t kNone = -1;  // no piece

// A polynomial hash modulo 2^64, so that the hash of two joined texts follows from theirs.
constexpr uint64_t kHashBase = 0x100000001b3u;

uint64_t HashPower(size_t exponent) {
  uint64_t result = 1, base = kHashBase;
  for (; exponent; exponent >>= 1, base *= base)
    if (exponent & 1) result *= base;
  return result;
}

uint64_t HashOf(std::string_view text) {
  uint64_t hash = 0;
  for (unsigned char c : text) hash = hash * kHashBase + c + 1;
  return hash;
}

uint64_t JoinedHash(uint64_t left, uint64_t right, size_t rightLength) {
  return left * HashPower(rightLength) + right;
}

void Add(std::vector<int32_t>& into, int32_t insertion) {
  auto at = std::lower_bound(into.begin(), into.end(), insertion);
  if (at == into.end() || *at != insertion) into.insert(at, insertion);
}

// Sorted sets of insertions, shared by the pieces that hold the same one (most pieces come from
// one insertion), named by their index; 0 is the empty set.
class InsertionSets {
 public:
  InsertionSets() : sets_(1) {}
  const std::vector<int32_t>& operator[](int32_t set) const { return sets_[set]; }
  int32_t Single(int32_t insertion) {
    auto [it, added] = singles_.emplace(insertion, static_cast<int32_t>(sets_.size()));
    if (added) sets_.push_back({insertion});
    return it->second;
  }
  int32_t Union(int32_t a, int32_t b) {
    if (a == b || b == 0) return a;
    if (a == 0) return b;
    const std::vector<int32_t>&x = sets_[a], &y = sets_[b];
    if (std::includes(x.begin(), x.end(), y.begin(), y.end())) return a;
    if (std::includes(y.begin(), y.end(), x.begin(), x.end())) return b;
    std::vector<int32_t> all;
    all.reserve(x.size() + y.size());
    std::set_union(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(all));
    sets_.push_back(std::move(all));
    return static_cast<int32_t>(sets_.size() - 1);
  }

 private:
  std::vector<std::vector<int32_t>> sets_;
  std::unordered_map<int32_t, int32_t> singles_;
};

// The text as the part before its first "%" (which no round changes) and the pieces after each
// "%", each knowing where its bytes and its percent sign came from.
class Pieces final : public Text {
 public:
  Pieces(const std::string& text, const std::vector<int32_t>& origin, size_t maxLength, History& history)
      : history_(history), maxLength_(maxLength), length_(text.size()) {
    size_t sign = text.find('%');
    done_ = text.substr(0, sign);
    const auto signs = static_cast<size_t>(std::count(text.begin(), text.end(), '%'));
    pieces_.reserve(signs);
    byHash_.Reserve(signs);
    int32_t last = kNone;
    while (sign != std::string::npos) {
      size_t next = text.find('%', sign + 1);
      size_t end = next == std::string::npos ? text.size() : next;
      int32_t from = 0;
      for (size_t i = sign + 1; i < end; ++i)
        if (origin[i] != kLine && origin[i] != origin[i - 1]) from = sets_.Union(from, sets_.Single(origin[i]));
      Piece& piece = pieces_.emplace_back();
      piece.text.assign(text, sign + 1, end - sign - 1);
      piece.hash = HashOf(piece.text);
      piece.signFrom = origin[sign];
      piece.from = from;
      const auto id = static_cast<int32_t>(pieces_.size() - 1);
      byHash_.Add(piece.hash, id);
      Link(last, id);
      last = id;
      sign = next;
    }
  }

  size_t Length() const override { return length_; }

  std::string Whole() const override {
    std::string text;
    text.reserve(length_);
    text += done_;
    for (int32_t p = first_; p != kNone; p = pieces_[p].next) text += '%' + pieces_[p].text;
    return text;
  }

  // The name of the first pair of percent signs; false when there is none.
  bool FirstReference(std::string* name) const override {
    if (first_ == kNone || pieces_[first_].next == kNone) return false;
    *name = pieces_[first_].text;
    return true;
  }

  std::vector<int32_t> FirstSources() const override { return Sources(first_); }

  // A round reuses the buffers of the round before: a line of thousands of references makes
  // as many rounds, and each would otherwise allocate several times.
  bool ReplaceAll(const std::string& name, const std::string& value) override {
    FindOccurrences(name);
    const std::vector<int32_t>& hits = hits_;
    const size_t tokenSize = name.size() + 2;
    const size_t room = length_ < maxLength_ ? maxLength_ - length_ : 0;
    if (value.size() > tokenSize && value.size() - tokenSize > room / hits.size()) return false;

    const int32_t tokenId = history_.Token(name);
    Split(value);
    const ValueParts& parts = parts_;
    const size_t newPieces = hits.size() * (parts.count - 1);
    if (pieces_.size() + newPieces > pieces_.capacity())
      pieces_.reserve(std::max(pieces_.size() + newPieces, 2 * pieces_.capacity()));
    // One insertion per distinct origin of the occurrences; the same sources reached through
    // different pieces may make two, which trace back alike.
    std::vector<std::pair<std::array<int32_t, 3>, int32_t>>& keys = keys_;
    keys.clear();
    for (int32_t hit : hits) {
      const Piece& piece = pieces_[hit];
      keys.push_back({{piece.from, piece.signFrom, pieces_[piece.next].signFrom}, kLine});
    }
    std::map<std::array<int32_t, 3>, int32_t> roundInsertions;
    for (size_t i = 0; i < hits.size(); ++i) {
      if (value.empty()) continue;
      auto it = roundInsertions.find(keys[i].first);
      if (it == roundInsertions.end()) it = roundInsertions.emplace(keys[i].first, history_.Insert(tokenId, Sources(hits[i]))).first;
      keys[i].second = it->second;
    }
    for (size_t i = 0; i < hits.size(); ++i) Replace(hits[i], parts, keys[i].second);
    length_ = length_ + hits.size() * value.size() - hits.size() * tokenSize;
    return true;
  }

 private:
  struct Piece {
    std::string text;             // up to the next "%" or the end
    uint64_t hash = 0;
    int32_t from = 0;             // the set of insertions its bytes came from
    int32_t signFrom = kLine;     // the insertion its "%" came from
    int32_t prev = kNone, next = kNone;
    uint32_t listed = 0, holdsName = 0, decided = 0;  // rounds
    bool alive = true;
  };

  void Link(int32_t left, int32_t right) {
    if (right != kNone) pieces_[right].prev = left;
    if (left == kNone)
      first_ = right;
    else
      pieces_[left].next = right;
  }

  // The text before the next percent sign has grown: found under its new hash from now on.
  void Rehashed(int32_t piece) { byHash_.Add(pieces_[piece].hash, piece); }

  // The pieces that are occurrences of "%name%" as a search from left to right finds them, into
  // hits_.
  void FindOccurrences(const std::string& name) {
    const uint32_t round = ++round_;
    const uint64_t hash = HashOf(name);
    std::vector<int32_t>& holding = holding_;
    holding.clear();
    auto look = [&](int32_t p) {
      Piece& piece = pieces_[p];
      if (!piece.alive || piece.hash != hash || piece.listed == round) return false;
      piece.listed = round;
      if (piece.next != kNone && piece.text == name) {
        piece.holdsName = round;
        holding.push_back(p);
      }
      return true;
    };
    // Pieces that changed since they were listed, or listed twice, leave the list.
    byHash_.Visit(hash, look);
    // In a row of neighbours that hold the name, every other one is an occurrence, from the left.
    std::vector<int32_t>& hits = hits_;
    hits.clear();
    for (int32_t p : holding) {
      if (pieces_[p].decided == round) continue;
      int32_t start = p;
      while (pieces_[start].prev != kNone && pieces_[pieces_[start].prev].holdsName == round) start = pieces_[start].prev;
      bool hit = true;
      for (int32_t q = start; q != kNone && pieces_[q].holdsName == round; q = pieces_[q].next, hit = !hit) {
        pieces_[q].decided = round;
        if (hit) hits.push_back(q);
      }
    }
  }

  // The insertions the occurrence at `piece` came from (its two signs and its name), each once.
  std::vector<int32_t> Sources(int32_t piece) const {
    std::vector<int32_t> sources = sets_[pieces_[piece].from];
    for (int32_t sign : {pieces_[piece].signFrom, pieces_[pieces_[piece].next].signFrom})
      if (sign != kLine) Add(sources, sign);
    return sources;
  }

  // Appends `text` (of `insertion`) and then `piece`'s text to what comes before `hit`.
  void AppendBefore(int32_t hit, const std::string& text, uint64_t textHash, int32_t insertion, const Piece* tail) {
    int32_t left = pieces_[hit].prev;
    if (left == kNone) {
      done_ += text;
      if (tail) done_ += tail->text;
      return;
    }
    Piece& l = pieces_[left];
    l.text += text;
    l.hash = JoinedHash(l.hash, textHash, text.size());
    if (!text.empty()) l.from = sets_.Union(l.from, sets_.Single(insertion));
    if (tail) {
      l.text += tail->text;
      l.hash = JoinedHash(l.hash, tail->hash, tail->text.size());
      l.from = sets_.Union(l.from, tail->from);
    }
    Rehashed(left);
  }

  // A value cut at its percent signs, with each part's hash: the same for every occurrence. The
  // first `count` entries are this round's; the rest keep their room for later rounds.
  struct ValueParts {
    std::vector<std::string> text;
    std::vector<uint64_t> hash;
    size_t count = 0;
  };

  void Split(const std::string& value) {
    ValueParts& parts = parts_;
    parts.count = 0;
    for (size_t start = 0;;) {
      size_t sign = value.find('%', start);
      if (parts.count == parts.text.size()) {
        parts.text.emplace_back();
        parts.hash.emplace_back();
      }
      std::string& text = parts.text[parts.count];
      text.assign(value, start, sign == std::string::npos ? sign : sign - start);
      parts.hash[parts.count++] = HashOf(text);
      if (sign == std::string::npos) break;
      start = sign + 1;
    }
  }

  // Puts the value in place of the occurrence at `hit`: its name and its two percent signs.
  void Replace(int32_t hit, const ValueParts& value, int32_t insertion) {
    const int32_t right = pieces_[hit].next;
    const int32_t left = pieces_[hit].prev;
    pieces_[hit].alive = false;
    const size_t count = value.count;
    if (count == 1) {
      // No percent sign in the value: the pieces on either side become one.
      AppendBefore(hit, value.text[0], value.hash[0], insertion, &pieces_[right]);
      pieces_[right].alive = false;
      Link(left, pieces_[right].next);
      return;
    }
    AppendBefore(hit, value.text[0], value.hash[0], insertion, nullptr);
    const int32_t single = sets_.Single(insertion);
    int32_t last = left;
    for (size_t i = 1; i + 1 < count; ++i) {
      Piece& piece = pieces_.emplace_back();
      piece.text = value.text[i];
      piece.hash = value.hash[i];
      piece.signFrom = insertion;
      piece.from = value.text[i].empty() ? 0 : single;
      const auto id = static_cast<int32_t>(pieces_.size() - 1);
      byHash_.Add(piece.hash, id);
      Link(last, id);
      last = id;
    }
    // The value's last part joins the text after the occurrence, behind the value's last sign.
    const std::string& tail = value.text[count - 1];
    Piece& r = pieces_[right];
    r.hash = JoinedHash(value.hash[count - 1], r.hash, r.text.size());
    r.text.insert(0, tail);
    r.signFrom = insertion;
    if (!tail.empty()) r.from = sets_.Union(r.from, single);
    Rehashed(right);
    Link(last, right);
  }

  History& history_;
  size_t maxLength_;
  std::string done_;
  std::vector<Piece> pieces_;
  int32_t first_ = kNone;
  size_t length_;
  PieceIndex byHash_;  // every piece under the hash it had when it was made or changed
  InsertionSets sets_;
  uint32_t round_ = 0;
  // Each round's working lists, kept for the next.
  std::vector<int32_t> holding_, hits_;
  std::vector<std::pair<std::array<int32_t, 3>, int32_t>> keys_;
  ValueParts parts_;
};

}  // namespace

std::unique_ptr<Text> PiecewiseText(const std::string& text, const std::vector<int32_t>& origin, size_t maxLength,
                                    History& history) {
  return std::make_unique<Pieces>(text, origin, maxLength, history);
}

}  // namespace qzr::expansion
