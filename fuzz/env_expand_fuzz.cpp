// Feeds: ExpandEnvVars with an environment of the input's own. The input's leading lines of the
// form NAME=VALUE (up to 16) define the variables, seen through the platform seam with names
// matched without regard to case; the rest of the input is the text expanded. So values that
// name themselves or each other, unpaired "%" signs and values that multiply the text are all
// explored.
// Checks: the expansion ends (libFuzzer's timeout) within bounded memory and length; text
// without "%" comes back unchanged; without variables it only takes references out; where its
// bounds are not reached it gives what the plain round-by-round expansion gives.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "base/env_expand.h"
#include "fuzz_support.h"
#include "platform/platform.h"
#include "util/text.h"

namespace {
using namespace qzr;
using fuzz::Check;

// The longest text the expansion may make from a shorter one.
constexpr size_t kExpansionLimit = size_t{1} << 20;

// The process's own system part, but with the environment given by the input.
class FuzzedEnvironment final : public SystemApi {
 public:
  explicit FuzzedEnvironment(SystemApi& base) : base_(base) {}
  std::map<std::string, std::string> variables;  // by upper-cased name

  std::optional<std::string> GetEnv(const std::string& name) override {
    auto it = variables.find(UpperAscii(name));
    if (name.empty() || it == variables.end()) return std::nullopt;
    return it->second;
  }
  std::string ModuleFileName() override { return base_.ModuleFileName(); }
  uint16_t CodeSegmentSelector() override { return base_.CodeSegmentSelector(); }
  LocalTime Now() override { return base_.Now(); }
  std::string FormatLongTime(const LocalTime& t) override { return base_.FormatLongTime(t); }
  std::string FormatShortDate(const LocalTime& t) override { return base_.FormatShortDate(t); }
  std::string ErrorMessage(long code) override { return base_.ErrorMessage(code); }
  bool FarEastLocale() override { return base_.FarEastLocale(); }
  std::string UpperCase(const std::string& text) override { return base_.UpperCase(text); }
  std::string AnsiToUtf8(const std::string& text) override { return base_.AnsiToUtf8(text); }
  std::string Utf8ToAnsi(const std::string& text) override { return base_.Utf8ToAnsi(text); }
  long ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) override {
    return base_.ImportRegistryFileAsAdministrator(bytes, owner);
  }
  std::optional<std::string> GetEnvUtf8(const std::string& name) override { return GetEnv(name); }

 private:
  SystemApi& base_;
};

// The expansion as plainly as it can be written: each round the first pair of "%" in the whole
// text, every occurrence of that token replaced, then from the top again. Every byte carries the
// tokens whose values brought it in; a token brought in by its own value ends it. Nothing when it
// takes more than a few rounds or a long text, where the real expansion's bounds may cut it short.
std::optional<std::string> PlainExpansion(std::string s, FuzzedEnvironment& environment) {
  using Ancestry = std::shared_ptr<const std::set<std::string>>;  // null: the text itself
  std::vector<Ancestry> from(s.size());
  for (int round = 0; round < 64 && s.size() <= 65536; ++round) {
    size_t open = s.find('%');
    size_t close = open == std::string::npos ? open : s.find('%', open + 1);
    if (close == std::string::npos) return s;
    std::string token = s.substr(open, close - open + 1);
    auto ancestry = [&](size_t at) {
      std::set<std::string> all;
      for (size_t i = at; i < at + token.size(); ++i)
        if (from[i]) all.insert(from[i]->begin(), from[i]->end());
      return all;
    };
    if (ancestry(open).count(token)) return s;
    std::string value = environment.GetEnv(token.substr(1, token.size() - 2)).value_or("");
    std::string out;
    std::vector<Ancestry> outFrom;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(token, pos)) != std::string::npos; pos = hit + token.size()) {
      std::set<std::string> inserted = ancestry(hit);
      inserted.insert(token);
      out += s.substr(pos, hit - pos) + value;
      outFrom.insert(outFrom.end(), from.begin() + pos, from.begin() + hit);
      outFrom.insert(outFrom.end(), value.size(), std::make_shared<const std::set<std::string>>(std::move(inserted)));
    }
    s = out + s.substr(pos);
    outFrom.insert(outFrom.end(), from.begin() + pos, from.end());
    from = std::move(outFrom);
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzedEnvironment environment(*Os().system);
  Override<SystemApi> seam(Os().system, &environment);
  environment.variables.clear();

  std::string_view input(reinterpret_cast<const char*>(data), size);
  while (environment.variables.size() < 16) {
    size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    size_t eq = line.find('=');
    if (end == std::string_view::npos || eq == std::string_view::npos || eq == 0) break;
    environment.variables.emplace(UpperAscii(line.substr(0, eq)), std::string(line.substr(eq + 1)));
    input.remove_prefix(end + 1);
  }
  const std::string text(input);

  std::string expanded = ExpandEnvVars(text);
  if (text.find('%') == std::string::npos) Check(expanded == text, "text without references is unchanged");
  if (environment.variables.empty()) {
    // Every reference is to nothing: the expansion only ever takes characters out.
    size_t k = 0;
    for (char c : text) k += k < expanded.size() && expanded[k] == c;
    Check(k == expanded.size(), "without variables the expansion only removes references");
  }
  Check(expanded.size() <= std::max<size_t>(text.size(), kExpansionLimit), "the expansion stays within its bound");
  if (std::optional<std::string> plain = PlainExpansion(text, environment))
    Check(expanded == *plain, "the same result as the plain expansion");
  return 0;
}
