// Feeds: the text form of the substitute registry's file (what a damaged or hand-edited
// registry.txt may hold) to ParseRegistry.
// Checks: formatting what was parsed is stable: format(parse(format(x))) == format(x), so a
// registry saved and loaded again (every load of the module) neither loses nor invents keys or
// values.
#include "fuzz_support.h"
#include "platform/posix/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qzr::posix;
  RegistryTree tree;
  ParseRegistry(std::string(reinterpret_cast<const char*>(data), size), &tree);
  const std::string formatted = FormatRegistry(tree);
  RegistryTree again;
  ParseRegistry(formatted, &again);
  qzr::fuzz::Check(FormatRegistry(again) == formatted, "format(parse(format(x))) == format(x)");
  return 0;
}
