// The OS-family probe against the registry of this platform (the real one under Wine). The
// "OS" value is changed for the test and put back afterwards.
#include "plugin/os_probe.h"
#include "support/delegating_platform.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

constexpr const char* kKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

class OsProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(reg().CreateKey(kHkeyLocalMachine, kKey, win::kKeyAllAccess, &key_), win::kSuccess);
    uint32_t size = sizeof saved_;
    hadValue_ = reg().QueryValue(key_, "OS", &savedType_, saved_, &size) == win::kSuccess;
    savedSize_ = size;
  }
  void TearDown() override {
    if (hadValue_)
      reg().SetValue(key_, "OS", savedType_, saved_, savedSize_);
    else
      reg().DeleteValue(key_, "OS");
    reg().CloseKey(key_);
  }
  void SetOs(uint32_t type, const std::string& bytes) {
    ASSERT_EQ(reg().SetValue(key_, "OS", type, reinterpret_cast<const uint8_t*>(bytes.data()),
                             static_cast<uint32_t>(bytes.size())),
              win::kSuccess);
  }
  static RegistryApi& reg() { return *Os().registry; }

  RegHandle key_ = 0;
  bool hadValue_ = false;
  uint32_t savedType_ = 0, savedSize_ = 0;
  uint8_t saved_[256] = {};
};

TEST_F(OsProbeTest, WindowsNtMeansTheNtFamily) {
  SetOs(win::kRegSz, std::string("Windows_NT", 11));
  EXPECT_FALSE(IsWin9x());
  SetOs(win::kRegExpandSz, std::string("Windows_NT\0junk", 16));
  EXPECT_FALSE(IsWin9x()) << "the text ends at the first zero byte";
}

TEST_F(OsProbeTest, AnyOtherTextMeansThe9xFamily) {
  SetOs(win::kRegSz, std::string("WINDOWS_NT", 11));
  EXPECT_TRUE(IsWin9x()) << "the comparison is exact";
  SetOs(win::kRegSz, std::string("", 1));
  EXPECT_TRUE(IsWin9x());
  SetOs(win::kRegBinary, std::string("Windows_NT", 10));
  EXPECT_FALSE(IsWin9x()) << "other types are taken as raw characters";
}

TEST_F(OsProbeTest, ReadRightsAreEnough) {
  SetOs(win::kRegSz, std::string("Windows_95", 11));
  NoRightsRegistry noRights;
  Override<RegistryApi> readOnly(Os().registry, &noRights);
  EXPECT_TRUE(IsWin9x()) << "the value is read, not the code segment";
}

TEST_F(OsProbeTest, AbsentValueFallsBackToTheCodeSegment) {
  reg().DeleteValue(key_, "OS");
  EXPECT_FALSE(CodeSegmentIs9x());
  EXPECT_FALSE(IsWin9x());
}

}  // namespace
}  // namespace qzr::test
