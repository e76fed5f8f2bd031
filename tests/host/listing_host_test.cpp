// The virtual folder through the built module's exports, as a host lists and copies it: the
// module copied beside a plugins folder, settings in a folder of their own.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "wfx_module.h"

namespace qzr::test {
namespace {

class ListingHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(module_.path("plugins"));
    std::filesystem::create_directories(settings_.dir());
    std::filesystem::copy_file(QZR_MODULE_PATH, modulePath_);
    Plugin("hide_ext.tweak",
           "TWEAKNAME> Show extensions\r\nTYPE> REG\r\nROOTKEY> HKCU\r\nPATH> Software\\QZR_TC_Test\r\n"
           "VALUENAME> HideFileExt\r\nVALUETYPE> DWORD\r\nVALUEON> 0\r\nVALUEOFF> 1\r\nDEFAULT> 1\r\n");
    Plugin("fast.tweak",
           "TWEAKNAME> Fast INI\r\nTYPE> INI\r\nPATH> C:\\example.ini\r\nSECTION> Options\r\nVALUENAME> Fast\r\n");
    Plugin("broken.tweak", "// no name, no path\r\nTYPE> REG\r\n");
  }
  void Plugin(const std::string& name, const std::string& text) {
    WriteBytes(module_.path("plugins") + kPathDelim + name, text);
  }
  std::string Remote(const std::string& name) const { return std::string(1, kPathDelim) + name; }

  ScratchKey scratch_;  // the columns' switch writes below it under Wine
  TempFolder module_;
  TempFolder settings_;
  std::string modulePath_ = module_.path(std::filesystem::path(QZR_MODULE_PATH).filename().string());
};

// Both kinds of host: one that calls the wide twins (as Total Commander and Double Commander do
// when the module has them) and one that knows only the ANSI entry points.
TEST_F(ListingHostTest, ListsValidTweaksAndCopiesTheirReportsOut) {
  for (bool ansiOnly : {false, true}) {
    SCOPED_TRACE(ansiOnly ? "ANSI calls" : "wide calls");
    wfxhost::WfxModule module(modulePath_, ansiOnly);
    ASSERT_TRUE(module.ok()) << module.error();
    EXPECT_EQ(module.wide(), !ansiOnly);
    module.Start(settings_.path("wfx.ini"));
    std::vector<std::string> names = module.List(std::string(1, kPathDelim));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Fast INI.", "Show extensions."}));
    EXPECT_EQ(module.List(std::string(1, kPathDelim) + "any" + kPathDelim + "path").size(), 2u)
        << "every path lists the same entries";

    std::string target = settings_.path("report.txt");
    EXPECT_EQ(module.GetFile(Remote("SHOW EXTENSIONS."), target), 0);
    std::string report = ReadBytes(target);
    EXPECT_EQ(report.rfind("Plugin name: Show extensions\r\n", 0), 0u) << report;
    EXPECT_NE(report.find("Var name: HideFileExt\r\n"), std::string::npos);
    EXPECT_EQ(module.GetFile(Remote("nothing."), target), 2) << "file not found";
    EXPECT_EQ(ReadBytes(target), report) << "an unknown name leaves the target alone";

    EXPECT_EQ(module.PutFile(target, Remote("new.tweak")), 0);
    EXPECT_EQ(module.DeleteFile(Remote("Fast INI.")), 0);
    EXPECT_EQ(module.List(std::string(1, kPathDelim)).size(), 2u) << "put and delete change nothing";
    module.Unload();

    EXPECT_TRUE(Exists(settings_.path("qzr_plugins") + kPathDelim + "hide_ext.tweak"));
    EXPECT_TRUE(Exists(settings_.path("~trash") + kPathDelim + "broken.tweak"));
  }
}

TEST_F(ListingHostTest, EntriesGetTheModulesSharedIcons) {
  wfxhost::WfxModule module(modulePath_);
  ASSERT_TRUE(module.ok()) << module.error();
  module.Start(settings_.path("wfx.ini"));
  module.List(std::string(1, kPathDelim));
  void* registryIcon = nullptr;
  void* none = nullptr;
#ifdef _WIN32
  void* fileIcon = nullptr;
  void* again = nullptr;
  EXPECT_EQ(module.ExtractIcon(Remote("Show extensions."), &registryIcon), 1);
  EXPECT_EQ(wfxhost::DescribeIcon(registryIcon), "icon 32x32");
  EXPECT_EQ(module.ExtractIcon(Remote("Fast INI."), &fileIcon), 1);
  EXPECT_EQ(wfxhost::DescribeIcon(fileIcon), "icon 32x32");
  EXPECT_NE(registryIcon, fileIcon);
  EXPECT_EQ(module.ExtractIcon(Remote("Show extensions."), &again), 1);
  EXPECT_EQ(again, registryIcon) << "shared icons: the same handle every time";
#else
  EXPECT_EQ(module.ExtractIcon(Remote("Show extensions."), &registryIcon), 0) << "the Linux build has no icons";
#endif
  EXPECT_EQ(module.ExtractIcon(Remote(".."), &none), 0);
  EXPECT_EQ(module.ExtractIcon(Remote("nothing."), &none), 0);
  EXPECT_EQ(none, nullptr);
}

TEST_F(ListingHostTest, ColumnsShowTheStateAndSwitchIt) {
  for (bool ansiOnly : {false, true}) {
    SCOPED_TRACE(ansiOnly ? "ANSI calls" : "wide calls");
    // The wide call answers every text as a wide string, State's choice too.
    const int text = ansiOnly ? qzr::host::kFtString : qzr::host::kFtStringW;
    const int choice = ansiOnly ? qzr::host::kFtMultipleChoice : qzr::host::kFtStringW;
    wfxhost::WfxModule module(modulePath_, ansiOnly);
    ASSERT_TRUE(module.ok()) << module.error();
    module.Start(settings_.path("wfx.ini"));
    module.List(std::string(1, kPathDelim));
    EXPECT_EQ(module.FieldNames(), (std::vector<std::string>{"State", "Default", "Is default", "Store", "Location",
                                                            "Chosen", "Reverted", "Takes effect"}));
    int code = 0;
    EXPECT_EQ(module.FieldValue(Remote("Show extensions."), 3, &code), "Registry");
    EXPECT_EQ(code, text);
    EXPECT_EQ(module.SetField(Remote("Show extensions."), 0, "Yes"), qzr::host::kFtSetSuccess);
    EXPECT_EQ(module.FieldValue(Remote("Show extensions."), 0, &code), "Yes");
    EXPECT_EQ(code, choice);
    EXPECT_EQ(module.FieldValue(Remote("Show extensions."), 2, &code), "0") << "on is not the default";
    EXPECT_EQ(code, qzr::host::kFtBoolean);
    EXPECT_EQ(module.SetField(Remote("Show extensions."), 0, "No"), qzr::host::kFtSetSuccess);
    EXPECT_EQ(module.FieldValue(Remote("Show extensions."), 2, &code), "1");
    EXPECT_EQ(module.FieldValue(Remote("Show extensions."), 5, &code), "No") << "the choice, as State shows it";
    EXPECT_EQ(code, text);
    EXPECT_EQ(module.FieldValue(Remote("Show extensions."), 6, &code), "0") << "not reverted";
    module.Unload();
  }
}

// Double Commander lists on worker threads, both panels at once: every listing gets the whole
// folder however the two interleave.
TEST_F(ListingHostTest, TwoThreadsListingAtOnceEachGetTheWholeFolder) {
  for (int i = 0; i < 48; ++i)
    Plugin("many" + std::to_string(i) + ".tweak", "TWEAKNAME> Many " + std::to_string(i) +
                                                      "\r\nROOTKEY> HKCU\r\nPATH> Software\\QZR_TC_Test\r\n"
                                                      "VALUENAME> V\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\n");
  wfxhost::WfxModule module(modulePath_);
  ASSERT_TRUE(module.ok()) << module.error();
  module.Start(settings_.path("wfx.ini"));
  const std::vector<std::string> whole = module.List(std::string(1, kPathDelim));
  ASSERT_EQ(whole.size(), 50u);
  int shortLists[2] = {0, 0};
  std::atomic<int> ready{0};
  auto lister = [&](int* wrong) {
    // Both start together, or one could be done before the other begins.
    ++ready;
    while (ready.load() < 2) std::this_thread::yield();
    for (int i = 0; i < 2000; ++i)
      if (module.List(std::string(1, kPathDelim)) != whole) ++*wrong;
  };
  std::thread a(lister, &shortLists[0]), b(lister, &shortLists[1]);
  a.join();
  b.join();
  EXPECT_EQ(shortLists[0] + shortLists[1], 0) << "listings that were not the whole folder";
}

TEST_F(ListingHostTest, EmptyPluginFolderListsTheDotEntry) {
  std::filesystem::remove_all(module_.path("plugins"));
  std::filesystem::create_directories(module_.path("plugins"));
  wfxhost::WfxModule module(modulePath_);
  ASSERT_TRUE(module.ok()) << module.error();
  module.Start(settings_.path("wfx.ini"));
  EXPECT_EQ(module.List(std::string(1, kPathDelim)), std::vector<std::string>{"."});
}

}  // namespace
}  // namespace qzr::test
