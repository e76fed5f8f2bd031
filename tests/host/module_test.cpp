// The built module loaded as a host loads it, through its exports only: root name, settings
// file and language, and shut-down at unload.
#include "support/test_support.h"
#include "wfx_module.h"

namespace qzr::test {
namespace {

class ModuleTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  std::string iniName_ = folder_.path("wfx.ini");
  std::string settings_ = folder_.path("qzrtc.ini");
};

TEST_F(ModuleTest, ExportsAnswerAsAHostExpects) {
  wfxhost::WfxModule module(QZR_MODULE_PATH);
  ASSERT_TRUE(module.ok()) << module.error();
  module.Start(iniName_);
  EXPECT_EQ(module.RootName(), "QZR_TC - plugin for system tweaking");
  EXPECT_EQ(module.RootName(10), "QZR_TC - ");
  EXPECT_EQ(module.RootName(1), "");
}

TEST_F(ModuleTest, LanguageIsReadAtConfigurationAndSavedAtUnload) {
  WriteBytes(settings_, "[main]\r\nlang=257\r\n[keep]\r\nthis=1\r\n");
  {
    wfxhost::WfxModule module(QZR_MODULE_PATH);
    ASSERT_TRUE(module.ok()) << module.error();
    module.Start(iniName_);
  }
  std::string after = ReadBytes(settings_);
  EXPECT_NE(after.find("lang=1\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find("[keep]\r\nthis=1\r\n"), std::string::npos) << after;
}

TEST_F(ModuleTest, MissingSettingsFileIsCreatedAtUnload) {
  {
    wfxhost::WfxModule module(QZR_MODULE_PATH);
    ASSERT_TRUE(module.ok()) << module.error();
    module.Start(iniName_);
  }
  EXPECT_EQ(ReadBytes(settings_), "[main]\r\nlang=0\r\n");
}

}  // namespace
}  // namespace qzr::test
