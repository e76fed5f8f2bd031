// The input's own environment for the expansion targets.
#include "fuzzed_environment.h"

#include "util/text.h"

namespace qzr::fuzz {

std::string_view FuzzedEnvironment::TakeVariables(std::string_view input) {
  variables.clear();
  while (variables.size() < 16) {
    size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    size_t eq = line.find('=');
    if (end == std::string_view::npos || eq == std::string_view::npos || eq == 0) break;
    variables.emplace(UpperAscii(line.substr(0, eq)), std::string(line.substr(eq + 1)));
    input.remove_prefix(end + 1);
  }
  return input;
}

std::optional<std::string> FuzzedEnvironment::GetEnv(const std::string& name) {
  auto it = variables.find(UpperAscii(name));
  if (name.empty() || it == variables.end()) return std::nullopt;
  return it->second;
}

}  // namespace qzr::fuzz
