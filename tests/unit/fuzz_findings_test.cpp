// Faults the fuzz targets found (their inputs are kept in fuzz/regressions), each held here in
// its plainest form.
#include "base/env_expand.h"
#include "support/test_support.h"

#ifndef _WIN32
#include "platform/posix/registry_file.h"
#endif

namespace qzr::test {
namespace {

TEST(FuzzFindings, ExpansionThatWouldPassOneMebibyteLeavesTheLineAsItStands) {
  ScopedEnv longValue("QZR_LONG_VALUE", std::string(2000, 'x').c_str());
  std::string reference = "%QZR_LONG_VALUE%";
  std::string manyReferences;
  for (int i = 0; i < 1000; ++i) manyReferences += reference;
  // 1000 references to 2000 bytes would make 2 MB in a single step.
  EXPECT_EQ(ExpandEnvVars(manyReferences), manyReferences);
  EXPECT_EQ(ExpandEnvVars("a" + reference + reference + "b"), "a" + std::string(4000, 'x') + "b");
}

#ifndef _WIN32
TEST(FuzzFindings, RegistryKeyNamedWithAnEscapedBackslashIsNoKey) {
  using posix::FormatRegistry;
  using posix::ParseRegistry;
  using posix::RegistryTree;
  RegistryTree tree;
  ParseRegistry("QZR_TC registry 1\n[HKEY_CURRENT_USER\\a%5Cb]\n\"v\"=1:00\n[HKEY_CURRENT_USER\\c]\n\"w\"=4:01000000\n",
                &tree);
  const std::string formatted = FormatRegistry(tree);
  EXPECT_EQ(formatted.find("a\\b"), std::string::npos) << formatted;
  EXPECT_NE(formatted.find("[HKEY_CURRENT_USER\\c]\n\"w\"=4:01000000\n"), std::string::npos) << formatted;
  RegistryTree again;
  ParseRegistry(formatted, &again);
  EXPECT_EQ(FormatRegistry(again), formatted) << "saved and loaded again, the registry is the same";
}
#endif

}  // namespace
}  // namespace qzr::test
