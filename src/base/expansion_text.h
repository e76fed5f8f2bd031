// The two forms the %NAME% expansion keeps its text in (see env_expand.cpp): the whole text,
// copied every round, and the pieces between its percent signs, found by what they hold. Both
// know where each byte came from and share one history of the values put in.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace qzr::expansion {

inline constexpr int32_t kLine = -1;  // a byte of the line itself, not of a value

// Every insertion of a value so far: its token and the insertions its occurrence was made of,
// so the values a reference descends from can be traced back.
class History {
 public:
  int32_t Token(const std::string& name);
  int32_t Insert(int32_t token, std::vector<int32_t> sources);
  // Whether a reference to `name` made of `sources` descends from a value of that same name.
  bool IsCycle(const std::string& name, std::vector<int32_t> sources);

 private:
  struct Insertion {
    int32_t Token;
    std::vector<int32_t> Sources;
    uint64_t Visited;
  };
  std::vector<Insertion> insertions_;
  // By name: hashed, as a tree would compare whole names at every level.
  std::unordered_map<std::string, int32_t> tokens_;
  uint64_t visit_ = 0;
};

class Text {
 public:
  virtual ~Text() = default;
  virtual size_t Length() const = 0;
  virtual std::string Whole() const = 0;
  // The name between the first two percent signs; false when there are not two.
  virtual bool FirstReference(std::string* name) const = 0;
  // The insertions that reference's bytes came from, each once.
  virtual std::vector<int32_t> FirstSources() const = 0;
  // Replaces every occurrence of "%name%" left to right, each a new insertion of `value` made
  // of its occurrence's sources; false (and nothing changed) when the text would grow longer
  // than its bound.
  virtual bool ReplaceAll(const std::string& name, const std::string& value) = 0;
};

// Each round reads and copies the whole text: the cheapest form while rounds are few.
class WholeText final : public Text {
 public:
  WholeText(const std::string& text, size_t maxLength, History& history);
  size_t Length() const override { return text_.size(); }
  std::string Whole() const override { return text_; }
  bool FirstReference(std::string* name) const override;
  std::vector<int32_t> FirstSources() const override;
  bool ReplaceAll(const std::string& name, const std::string& value) override;
  // Where each byte came from: kLine or an insertion.
  const std::vector<int32_t>& Origins() const { return origin_; }

 private:
  // The insertions the bytes [at, at + count) came from, each once.
  std::vector<int32_t> Sources(size_t at, size_t count) const;
  void FindAll(const std::string& name, size_t from);
  static bool SameBytes(const char* at, const std::string& name);

  History& history_;
  size_t maxLength_;
  std::string text_;
  std::vector<int32_t> origin_;
  std::string spareText_;
  std::vector<int32_t> spareOrigin_;
  std::vector<size_t> hits_;  // where this round's occurrences start
  mutable size_t open_ = 0;  // the first "%": nothing before it changes
};

// The pieces between the percent signs, each found by its hash: a round costs what it replaces.
std::unique_ptr<Text> PiecewiseText(const std::string& text, const std::vector<int32_t>& origin, size_t maxLength,
                                    History& history);

}  // namespace qzr::expansion
