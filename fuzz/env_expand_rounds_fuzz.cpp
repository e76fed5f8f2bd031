// Feeds: the env_expand target's inputs (variables in the leading NAME=VALUE lines, then the
// text) to ExpandEnvVars and to the same expansion kept in rounds over the whole text, which
// reads and copies the text every round.
// Checks: the two give the same text, where the bounds cut the expansion short too, with the
// fuzz targets' bounds and with the real ones. Some inputs take a tenth of a second in whole-text
// rounds, so scripts/fuzz leaves this target out; CTest replays the env_expand corpus through it.
#include "base/env_expand.h"
#include "fuzz_bounds.h"
#include "fuzz_support.h"
#include "fuzzed_environment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qzr;
  static fuzz::FuzzedEnvironment environment(*Os().system);
  Override<SystemApi> seam(Os().system, &environment);
  const std::string text(environment.TakeVariables(std::string_view(reinterpret_cast<const char*>(data), size)));
  for (const ExpansionBounds& bounds : {fuzz::kExpansionBounds, ExpansionBounds{}})
    fuzz::Check(ExpandEnvVars(text, bounds) == ExpandEnvVarsInWholeTextRounds(text, bounds),
                "the same text as the expansion in whole-text rounds");

  environment.variables.clear();
  return 0;
}
