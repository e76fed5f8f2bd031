// The entry points, narrow and wide, with whatever a host might pass: null pointers, buffers of
// no size, calls out of order, a suggested settings name with no terminating zero. Each answers its interface code
// and writes nothing outside the buffers it was given.
#include <cstring>

#include "plugin/plugin_state.h"
#include "exports/host_calls.h"
#include "interface/content_exports.h"
#include "interface/exports.h"
#include "plugin/lifecycle.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

const std::string kDelim(1, kPathDelim);

class OddArgumentsTest : public PluginTest {
 protected:
  TempFolder folder_;
};

TEST_F(OddArgumentsTest, NullPointersAnswerWithoutTouchingAnything) {
  Startup();
  State().ModuleDir = folder_.dir();
  FsSetDefaultParams(nullptr);
  EXPECT_TRUE(State().IniDir.empty());
  FsGetDefRootName(nullptr, 100);
  void* invalid = reinterpret_cast<void*>(intptr_t{-1});
  EXPECT_EQ(FsFindFirst(nullptr, nullptr), invalid);
  EXPECT_EQ(FsFindNext(nullptr, nullptr), 0);
  EXPECT_EQ(FsFindClose(nullptr), 0);
  char name[] = "x";
  EXPECT_EQ(FsGetFile(nullptr, name, 0, nullptr), host::kFsFileNotFound);
  EXPECT_EQ(FsGetFile(name, nullptr, 0, nullptr), host::kFsFileNotFound);
  EXPECT_EQ(FsPutFile(nullptr, nullptr, 0), host::kFsFileOk);
  EXPECT_EQ(FsDeleteFile(nullptr), 0);
  void* icon = nullptr;
  EXPECT_EQ(FsExtractCustomIcon(nullptr, 0, &icon), host::kFsIconUseDefault);
  EXPECT_EQ(FsExtractCustomIcon(name, 0, nullptr), host::kFsIconUseDefault);
  EXPECT_EQ(FsExecuteFile(nullptr, nullptr, name), host::kFsExecOk);
  EXPECT_EQ(FsExecuteFile(nullptr, name, nullptr), host::kFsExecOk);
  // The wide twins, with the same nulls.
  char16_t wide[] = u"x";
  EXPECT_EQ(FsInitW(1, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(FsFindFirstW(nullptr, nullptr), invalid);
  EXPECT_EQ(FsFindNextW(nullptr, nullptr), 0);
  EXPECT_EQ(FsGetFileW(nullptr, wide, 0, nullptr), host::kFsFileNotFound);
  EXPECT_EQ(FsGetFileW(wide, nullptr, 0, nullptr), host::kFsFileNotFound);
  EXPECT_EQ(FsPutFileW(nullptr, nullptr, 0), host::kFsFileOk);
  EXPECT_EQ(FsDeleteFileW(nullptr), 0);
  EXPECT_EQ(FsExtractCustomIconW(nullptr, 0, &icon), host::kFsIconUseDefault);
  EXPECT_EQ(FsExtractCustomIconW(wide, 0, nullptr), host::kFsIconUseDefault);
  EXPECT_EQ(FsExecuteFileW(nullptr, nullptr, wide), host::kFsExecOk);
  EXPECT_EQ(FsExecuteFileW(nullptr, wide, nullptr), host::kFsExecOk);
  EXPECT_EQ(FsSetAttrW(nullptr, 0), 1);
  EXPECT_EQ(FsContentGetValueW(nullptr, 0, 0, wide, 4, 0), host::kFtFileError);
  EXPECT_EQ(FsContentGetValueW(wide, 0, 0, nullptr, 4, 0), host::kFtFileError);
  EXPECT_EQ(FsContentSetValueW(wide, 0, 0, host::kFtStringW, nullptr, 0), host::kFtFileError);
  EXPECT_EQ(FsContentGetDefaultViewW(nullptr, nullptr, nullptr, nullptr, 64), 1);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(OddArgumentsTest, RootNameBuffersOfEverySize) {
  for (int maxlen : {-5, 0}) {
    char untouched[4] = {'a', 'b', 'c', 'd'};
    FsGetDefRootName(untouched, maxlen);
    EXPECT_EQ(std::string(untouched, 4), "abcd") << maxlen;
  }
  // One byte more than the name needs is left as it was.
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  FsGetDefRootName(buffer, 1);
  EXPECT_EQ(std::string(buffer, 2), std::string("\0#", 2));
  std::memset(buffer, '#', sizeof buffer);
  FsGetDefRootName(buffer, 36);
  EXPECT_EQ(std::string(buffer), "QZR_TC - plugin for system tweaking");
  EXPECT_EQ(buffer[36], '#');
}

// The host's record holds 260 bytes: a name that fills them without a zero is read to the end
// of the field and no further.
TEST_F(OddArgumentsTest, SuggestedSettingsNameWithoutTerminatingZero) {
  struct {
    host::FsDefaultParamStruct dps;
    char after[16];
  } guarded;
  std::memset(&guarded, 'z', sizeof guarded);
  std::string folder = folder_.dir();
  std::memcpy(guarded.dps.DefaultIniName, folder.data(), folder.size());
  FsSetDefaultParams(&guarded.dps);
  EXPECT_EQ(State().IniDir, folder) << "the name is cut to 260 bytes; its folder is the settings folder";
}

TEST_F(OddArgumentsTest, ListingCallsOutOfOrder) {
  WriteBytes(folder_.path("plugins"), "");  // a file where the plugins folder should be
  Startup();
  State().ModuleDir = folder_.dir();
  HostConfigure(folder_.path("wfx.ini"));
  host::FindData found{};
  EXPECT_EQ(FsFindNext(nullptr, &found), 0) << "no search open yet";
  EXPECT_EQ(FsFindClose(nullptr), 0);
  EXPECT_EQ(HostList(), std::vector<std::string>{"."}) << "no definitions: the one \".\" entry";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(FsFindNext(nullptr, &found), 0) << "after the end, again and again";
  EXPECT_EQ(FsFindClose(nullptr), 0);
  EXPECT_EQ(FsFindClose(nullptr), 0) << "closing twice";
  EXPECT_EQ(HostGetFile(".", folder_.path("dot.txt")), host::kFsFileNotFound);
  EXPECT_EQ(HostOpen("."), host::kFsExecOk);
  EXPECT_FALSE(Exists(folder_.path("dot.txt")));
}

}  // namespace
}  // namespace qzr::test
