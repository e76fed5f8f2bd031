// The choices file: a Save's line replaced or added, the file written whole with its header, a
// settings folder it cannot be written in; the cache reading it once for any number of fields.
#include "commands/choices_file.h"

#include "qzr_version.h"
#include "support/fixed_clock.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

class ChoicesFileTest : public PluginTest {
 protected:
  TempFolder folder_;
  SystemApi& realSystem_ = *Os().system;
  FixedClock clock_{realSystem_, 9};
  Override<SystemApi> clockOverride_{Os().system, &clock_};
};

ProfileEntry Entry(std::string name, ProfileStateKind kind, std::string value = {}) {
  return ProfileEntry{std::move(name), ProfileState{kind, std::move(value)}};
}

TEST_F(ChoicesFileTest, ASaveReplacesItsLineOrAddsOne) {
  const std::string path = ChoicesPath(folder_.dir());
  EXPECT_EQ(path, folder_.path("qzr_choices.txt"));
  const std::string header =
      "; QZR_TC " QZR_VERSION_TEXT ": the plugin's record of your choices, the state each Save left a tweak in.\r\n"
      "; It is a profile: \"apply\" sets every tweak as it is chosen here.\r\n"
      "; Last written 2024-03-05 14:07:09.\r\n";
  ASSERT_TRUE(RecordChoice(path, Entry("Explorer - Show extensions", ProfileStateKind::kOn)));
  ASSERT_TRUE(RecordChoice(path, Entry("Mouse = delay", ProfileStateKind::kValue, "400")));
  EXPECT_EQ(ReadBytes(path), header + "\"Explorer - Show extensions\" = on\r\n\"Mouse = delay\" = \"400\"\r\n");
  ASSERT_TRUE(RecordChoice(path, Entry("EXPLORER - show extensions", ProfileStateKind::kOff)));
  EXPECT_EQ(ReadBytes(path), header + "\"EXPLORER - show extensions\" = off\r\n\"Mouse = delay\" = \"400\"\r\n")
      << "in place, names compared as the listing compares them";

  // A hand edit: comments and a doubled line go, the other entries stay in their order.
  WriteBytes(path, "; mine\r\n\"b\" = on\r\n\"a\" = on\r\nbroken\r\n\"B\" = default\r\n");
  ASSERT_TRUE(RecordChoice(path, Entry("b", ProfileStateKind::kOff)));
  EXPECT_EQ(ReadBytes(path), header + "\"b\" = off\r\n\"a\" = on\r\n");

  EXPECT_FALSE(RecordChoice(path, Entry("a", ProfileStateKind::kValue, "two\r\nlines")));
  EXPECT_EQ(ReadBytes(path), header + "\"b\" = off\r\n\"a\" = on\r\n") << "no line holds it: the file stays";
}

TEST_F(ChoicesFileTest, ASettingsFolderThatIsAFileRecordsNothing) {
  WriteBytes(folder_.path("settings"), "a file");
  const std::string path = ChoicesPath(folder_.path("settings") + kPathDelim);
  EXPECT_FALSE(RecordChoice(path, Entry("a", ProfileStateKind::kOn)));
  EXPECT_EQ(ReadBytes(folder_.path("settings")), "a file");
  ChoicesCache cache;
  EXPECT_EQ(cache.Chosen(path, "a"), std::nullopt);
}

TEST_F(ChoicesFileTest, TheCacheReadsTheFileOnce) {
  const std::string path = ChoicesPath(folder_.dir());
  ChoicesCache cache;
  EXPECT_EQ(cache.Chosen(path, "a"), std::nullopt) << "no file, no choices";
  cache.Invalidate();
  WriteBytes(path, "\"a\" = on\r\n\"b\" = \"7\"\r\n\"A\" = off\r\n");
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(cache.Chosen(path, "a"), (ProfileState{ProfileStateKind::kOff, {}})) << "the last line of a name";
    EXPECT_EQ(cache.Chosen(path, "B"), (ProfileState{ProfileStateKind::kValue, "7"}));
    EXPECT_EQ(cache.Chosen(path, "c"), std::nullopt);
  }
  EXPECT_EQ(cache.All(path).size(), 3u);
  EXPECT_EQ(cache.FileReads(), 2);
  RecordChoice(path, Entry("c", ProfileStateKind::kDefault));
  EXPECT_EQ(cache.Chosen(path, "c"), std::nullopt) << "until it is forgotten";
  cache.Invalidate();
  EXPECT_EQ(cache.Chosen(path, "c"), (ProfileState{ProfileStateKind::kDefault, {}}));
  EXPECT_EQ(cache.FileReads(), 3);
}

}  // namespace
}  // namespace qzr::test
