// %NAME% expansion. Each round takes the first pair of percent signs in the whole text, looks the
// name up and replaces every exact occurrence of that token, then starts again from the top, so
// values may bring in further references. It must end on any input:
// - a "%" with no partner ends the expansion; the rest of the text stays as it is;
// - a reference that a value brought back into the text, directly or through other values, is a
//   cycle: the expansion ends with that reference left in the text. Only the text that the
//   reference's own value brought in counts, so the same variable may be used again in other
//   places (QA=x, QB=%QA%: "%QA%%QB%" gives "xx");
// - a round that would make the text longer than the length bound is not made: the text stays as it
//   stood before it, so a line full of references to a long value cannot take all memory;
// - bounds on rounds and on the bytes all rounds together go through (as if each round read the
//   whole text) stop values that keep growing the text. Real lines stay far below both.
// Nothing before the first "%" changes in a round, so the next round looks on from there.
//
// What it costs: a round over the whole text costs the text's length, which is cheapest while
// rounds are few (a few values that multiply the text; a text of many percent signs that lasts
// a few rounds would cost more to cut into pieces). A line with thousands of different
// references makes thousands of rounds: after the first few it goes on in pieces, where a round
// costs only the occurrences it replaces, so the whole costs at most a few times the longest
// text plus what the rounds put in. The bounds are counted as for whole-text rounds either way,
// so both give the same text.
#include "base/env_expand.h"

#include <memory>

#include "base/expansion_text.h"
#include "platform/platform.h"

namespace qzr {
namespace {

// Cutting the text into pieces costs about as much as this many whole-text rounds.
constexpr int kWholeTextRounds = 16;

std::string Expand(const std::string& text, const ExpansionBounds& bounds, bool mayGoOnInPieces) {
  if (text.find('%') == std::string::npos) return text;
  expansion::History history;
  expansion::WholeText whole(text, bounds.Length, history);
  std::unique_ptr<expansion::Text> pieces;
  expansion::Text* s = &whole;
  size_t work = 0;
  std::string name;
  for (int round = 0; round < bounds.Rounds; ++round) {
    if (!s->FirstReference(&name)) break;
    work += s->Length();
    if (work > bounds.Work) break;
    if (mayGoOnInPieces && round == kWholeTextRounds) {
      pieces = expansion::PiecewiseText(whole.Whole(), whole.Origins(), bounds.Length, history);
      s = pieces.get();
    }
    if (history.IsCycle(name, s->FirstSources())) break;
    if (!s->ReplaceAll(name, Os().system->GetEnv(name).value_or(std::string()))) break;
  }
  return s->Whole();
}

}  // namespace

std::string ExpandEnvVars(const std::string& text, const ExpansionBounds& bounds) { return Expand(text, bounds, true); }

std::string ExpandEnvVarsInWholeTextRounds(const std::string& text, const ExpansionBounds& bounds) {
  return Expand(text, bounds, false);
}

}  // namespace qzr
