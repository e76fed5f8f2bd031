// The release layout through the built module's exports: the module beside the shipped tweak
// library lists every tweak of the library, named as its definition names it.
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/test_support.h"
#include "wfx_module.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

// The virtual file names a definition file promises: its TWEAKNAME> line and a full stop.
std::vector<std::string> PromisedNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::string& file : ListFolder(folder)) {
    std::istringstream text(ReadBytes(folder + kPathDelim + file));
    for (std::string line; std::getline(text, line);) {
      if (!line.starts_with("TWEAKNAME> ")) continue;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      names.push_back(line.substr(11) + ".");
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SampleLibraryHostTest, TheModuleListsEveryShippedTweak) {
  TempFolder module;
  TempFolder settings;
  fs::copy(SourcePath("library/plugins"), module.path("plugins"));
  std::string modulePath = module.path(fs::path(QZR_MODULE_PATH).filename().string());
  fs::copy_file(QZR_MODULE_PATH, modulePath);

  wfxhost::WfxModule wfx(modulePath);
  ASSERT_TRUE(wfx.ok()) << wfx.error();
  wfx.Start(settings.path("wfx.ini"));
  std::vector<std::string> listed = wfx.List(std::string(1, kPathDelim));
  std::sort(listed.begin(), listed.end());
  std::vector<std::string> promised = PromisedNames(module.path("plugins"));
  ASSERT_GE(promised.size(), 125u);
  EXPECT_EQ(listed, promised);

  std::string report = settings.path("report.txt");
  ASSERT_EQ(wfx.GetFile(std::string(1, kPathDelim) + "Theme - Dark mode for apps.", report), 0);
  EXPECT_EQ(ReadBytes(report).rfind("Plugin name: Theme - Dark mode for apps\r\n", 0), 0u) << ReadBytes(report);
  wfx.Unload();
  EXPECT_EQ(ListFolder(settings.path("~trash")), std::vector<std::string>{"directory.txt"});
}

}  // namespace
}  // namespace qzr::test
