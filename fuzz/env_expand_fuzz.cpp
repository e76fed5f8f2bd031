// Feeds: ExpandEnvVars with an environment of the input's own. The input's leading lines of the
// form NAME=VALUE (up to 16) define the variables, seen through the platform seam with names
// matched without regard to case; the rest of the input is the text expanded. So values that
// name themselves or each other, unpaired "%" signs and values that multiply the text are all
// explored.
// The bounds are scaled down (fuzz_bounds.h). Checks: the expansion ends (libFuzzer's timeout)
// within bounded memory and length; text
// without "%" comes back unchanged; without variables it only takes references out; where its
// bounds are not reached it gives what the plain round-by-round expansion gives.
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "base/env_expand.h"
#include "fuzz_support.h"
#include "fuzzed_environment.h"
#include "fuzz_bounds.h"

namespace {
using namespace qzr;
using fuzz::Check;


// The expansion as plainly as it can be written: each round the first pair of "%" in the whole
// text, every occurrence of that token replaced, then from the top again. Every byte carries the
// tokens whose values brought it in; a token brought in by its own value ends it. Nothing when it
// takes more than a few rounds or a long text, where the real expansion's bounds may cut it short.
constexpr size_t kPlainLength = fuzz::kExpansionBounds.Length / 4;
std::optional<std::string> PlainExpansion(std::string s, fuzz::FuzzedEnvironment& environment) {
  std::map<std::string, int> tokens;
  // Each byte's tokens, sorted, as an index into `ancestries`; 0 is the text itself.
  std::vector<std::vector<int>> ancestries(1);
  std::vector<uint32_t> from(s.size());
  size_t work = 0;
  for (int round = 0; round < 16 && s.size() <= kPlainLength; ++round) {
    size_t open = s.find('%');
    size_t close = open == std::string::npos ? open : s.find('%', open + 1);
    if (close == std::string::npos) return s;
    std::string token = s.substr(open, close - open + 1);
    const int id = tokens.emplace(token, static_cast<int>(tokens.size())).first->second;
    auto ancestry = [&](size_t at) {
      std::vector<int> all;
      for (size_t i = at; i < at + token.size(); ++i) all.insert(all.end(), ancestries[from[i]].begin(), ancestries[from[i]].end());
      std::sort(all.begin(), all.end());
      all.erase(std::unique(all.begin(), all.end()), all.end());
      return all;
    };
    std::vector<int> first = ancestry(open);
    if (std::binary_search(first.begin(), first.end(), id)) return s;
    std::string value = environment.GetEnv(token.substr(1, token.size() - 2)).value_or("");
    size_t hits = 0;
    for (size_t hit = open; hit != std::string::npos; hit = s.find(token, hit + token.size())) ++hits;
    work += s.size();
    if (s.size() + hits * value.size() > kPlainLength || work > fuzz::kExpansionBounds.Work) return std::nullopt;
    std::string out;
    std::vector<uint32_t> outFrom;
    out.reserve(s.size() + hits * value.size());
    outFrom.reserve(s.size() + hits * value.size());
    size_t pos = 0;
    for (size_t hit; (hit = s.find(token, pos)) != std::string::npos; pos = hit + token.size()) {
      std::vector<int> inserted = ancestry(hit);
      inserted.insert(std::upper_bound(inserted.begin(), inserted.end(), id), id);
      inserted.erase(std::unique(inserted.begin(), inserted.end()), inserted.end());
      ancestries.push_back(std::move(inserted));
      out.append(s, pos, hit - pos);
      out += value;
      outFrom.insert(outFrom.end(), from.begin() + pos, from.begin() + hit);
      outFrom.insert(outFrom.end(), value.size(), static_cast<uint32_t>(ancestries.size() - 1));
    }
    out.append(s, pos);
    s.swap(out);
    outFrom.insert(outFrom.end(), from.begin() + pos, from.end());
    from = std::move(outFrom);
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::FuzzedEnvironment environment(*Os().system);
  Override<SystemApi> seam(Os().system, &environment);
  const std::string text(environment.TakeVariables(std::string_view(reinterpret_cast<const char*>(data), size)));

  std::string expanded = ExpandEnvVars(text, fuzz::kExpansionBounds);
  if (text.find('%') == std::string::npos) Check(expanded == text, "text without references is unchanged");
  if (environment.variables.empty()) {
    // Every reference is to nothing: the expansion only ever takes characters out.
    size_t k = 0;
    for (char c : text) k += k < expanded.size() && expanded[k] == c;
    Check(k == expanded.size(), "without variables the expansion only removes references");
  }
  Check(expanded.size() <= std::max<size_t>(text.size(), fuzz::kExpansionBounds.Length),
        "the expansion stays within its bound");
  if (std::optional<std::string> plain = PlainExpansion(text, environment))
    Check(expanded == *plain, "the same result as the plain expansion");
  // Freed within the run: memory kept from one run to the next makes libFuzzer run the input
  // again to look for a leak.
  environment.variables.clear();
  return 0;
}
