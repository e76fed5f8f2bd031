// TCFG: the flat name=value file, on real files of this platform.
#include "stores/cfg.h"

#include "base/errors.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {

class CfgTest : public ::testing::Test {
 protected:
  // Writes `before`, runs `change` on a store made on it, closes it, returns the file's bytes.
  template <typename Change>
  std::string Edit(const std::string& before, Change change) {
    WriteBytes(file_, before);
    TCFG cfg(file_);
    change(cfg);
    cfg.Close();
    return ReadBytes(file_);
  }
  // The message of the error `action` raises, or "" when it raises none.
  template <typename Action>
  static std::string ErrorOf(Action action) {
    try {
      action();
    } catch (const ShownError& e) {
      return e.what();
    }
    return "";
  }

  TempFolder folder_;
  std::string file_ = folder_.path("game.cfg");
};

TEST_F(CfgTest, NamesCompareWithoutRegardToCase) {
  EXPECT_EQ(Edit("Alpha=1\r\nbeta=2\r\n",
                 [](TCFG& cfg) {
                   EXPECT_EQ(cfg.ReadString("BETA", "none"), "2");
                   EXPECT_EQ(cfg.ReadValue("alpha"), "1");
                   cfg.WriteValue("BETA", "3");
                 }),
            "Alpha=1\r\nBETA=3\r\n")
      << "the line takes the caller's spelling";
}

TEST_F(CfgTest, LinesEndAtCrLfLfOrCrAndAreWrittenWithCrLf) {
  EXPECT_EQ(Edit("a=1\nb=2\rc=3\r\n\r\nd=4", [](TCFG& cfg) {
              EXPECT_EQ(cfg.Lines(), (std::vector<std::string>{"a=1", "b=2", "c=3", "", "d=4"}));
              cfg.WriteValue("e", "5");
            }),
            "a=1\r\nb=2\r\nc=3\r\n\r\nd=4\r\ne=5\r\n")
      << "the last line gets its CR LF too";
  EXPECT_EQ(Edit("\r\n\n", [](TCFG& cfg) {
              EXPECT_EQ(cfg.Lines(), (std::vector<std::string>{"", ""}));
              cfg.WriteValue("x", "1");
            }),
            "\r\n\r\nx=1\r\n");
}

TEST_F(CfgTest, AZeroByteEndsTheTextButWhatFollowsIsKept) {
  std::string tail("\0binary\r\nk=9\xff", 12);
  EXPECT_EQ(Edit("k=1\r\nj=2" + tail, [](TCFG& cfg) {
              EXPECT_EQ(cfg.Lines(), (std::vector<std::string>{"k=1", "j=2"}));
              EXPECT_EQ(cfg.ReadString("k", ""), "1") << "the text after the zero is not read";
              cfg.WriteValue("k", "3");
            }),
            "k=3\r\nj=2\r\n" + tail);
}

TEST_F(CfgTest, EntriesAreSplitAtTheFirstEqualsSignAndNothingIsTrimmed) {
  WriteBytes(file_, "Delta = 5\r\nurl=a=b\r\n;x=1\r\n[section]\r\n=nameless\r\n");
  TCFG cfg(file_);
  EXPECT_EQ(cfg.ReadInteger("Delta", 0), 0) << "the name is \"Delta \"";
  EXPECT_EQ(cfg.ReadInteger("Delta ", 0), 5) << "the value \" 5\": leading blanks are a number";
  EXPECT_EQ(cfg.ReadValue("url"), "a=b");
  EXPECT_EQ(cfg.ReadValue(";x"), "1") << "no comment syntax";
  EXPECT_EQ(cfg.ReadString("[section]", "no entry"), "no entry") << "no sections either";
  EXPECT_EQ(cfg.ReadValue(""), "nameless");
}

TEST_F(CfgTest, IntegersFollowTheSystemsRule) {
  WriteBytes(file_, "a=$1F\r\nb=0x1F\r\nc=12abc\r\nd=\r\ne=-2147483648\r\nf= +7\r\n");
  TCFG cfg(file_);
  EXPECT_EQ(cfg.ReadInteger("a", -1), 31);
  EXPECT_EQ(cfg.ReadInteger("b", -1), 31);
  EXPECT_EQ(cfg.ReadInteger("c", -1), -1);
  EXPECT_EQ(cfg.ReadInteger("d", -1), -1) << "an empty value";
  EXPECT_EQ(cfg.ReadInteger("e", -1), INT32_MIN);
  EXPECT_EQ(cfg.ReadInteger("f", -1), 7);
  EXPECT_EQ(cfg.ReadInteger("missing", 42), 42);
}

TEST_F(CfgTest, StringsAndTheirDefault) {
  WriteBytes(file_, "empty=\r\n");
  TCFG cfg(file_);
  EXPECT_EQ(cfg.ReadString("empty", "default"), "") << "an entry with no value is still an entry";
  EXPECT_EQ(cfg.ReadString("missing", "default"), "default");
  EXPECT_EQ(cfg.ReadValue("missing"), "");
}

TEST_F(CfgTest, WritingAnEmptyValueAppendsOrRemoves) {
  EXPECT_EQ(Edit("a=1\r\n", [](TCFG& cfg) { cfg.WriteValue("Gamma", ""); }), "a=1\r\nGamma=\r\n");
  EXPECT_EQ(Edit("gamma=1\r\na=1\r\n", [](TCFG& cfg) { cfg.WriteString("Gamma", ""); }), "a=1\r\n");
}

TEST_F(CfgTest, IntegersAreWrittenInDecimal) {
  EXPECT_EQ(Edit("", [](TCFG& cfg) {
              cfg.WriteInteger("n", -15);
              cfg.WriteInteger("m", 0);
            }),
            "n=-15\r\nm=0\r\n");
}

TEST_F(CfgTest, OnlyTheFirstOfEqualNamesCounts) {
  EXPECT_EQ(Edit("k=1\r\nK=2\r\nk=3\r\n", [](TCFG& cfg) {
              EXPECT_EQ(cfg.ReadValue("k"), "1");
              cfg.DeleteKey("k");
              EXPECT_EQ(cfg.ReadValue("k"), "2");
              cfg.WriteValue("k", "9");
            }),
            "k=9\r\nk=3\r\n");
  EXPECT_EQ(Edit("a=1\r\n", [](TCFG& cfg) { cfg.DeleteKey("missing"); }), "a=1\r\n");
}

TEST_F(CfgTest, OtherLinesKeepTheirPlaceAndText) {
  EXPECT_EQ(Edit("# header\r\n  indented text\r\nk=1\r\n; note\r\nj=2\r\n", [](TCFG& cfg) {
              cfg.WriteValue("k", "5");
              cfg.DeleteKey("j");
              cfg.WriteValue("new", "x");
            }),
            "# header\r\n  indented text\r\nk=5\r\n; note\r\nnew=x\r\n");
}

TEST_F(CfgTest, AMissingFileIsCreatedEmpty) {
  {
    TCFG cfg(file_);
    ASSERT_TRUE(Exists(file_)) << "at once, before anything is written";
    EXPECT_EQ(ReadBytes(file_), "");
    EXPECT_EQ(cfg.ReadInteger("k", 3), 3);
    cfg.Close();
  }
  EXPECT_EQ(ReadBytes(file_), "");
}

TEST_F(CfgTest, ReadingLeavesTheFileAsItWas) {
  std::string bytes = "a=1\nb=2";
  WriteBytes(file_, bytes);
  TCFG cfg(file_);
  cfg.ReadString("a", "");
  cfg.Close();
  EXPECT_EQ(ReadBytes(file_), bytes);
}

TEST_F(CfgTest, AStoreLeftWithoutCloseWritesNothing) {
  WriteBytes(file_, "a=1\r\n");
  {
    TCFG cfg(file_);
    cfg.WriteValue("a", "2");
  }
  EXPECT_EQ(ReadBytes(file_), "a=1\r\n");
}

TEST_F(CfgTest, AFileThatCannotBeCreatedRaises) {
  std::string bad = folder_.path("missing") + kPathDelim + "x.cfg";
  std::string message = ErrorOf([&] { TCFG cfg(bad); });
  EXPECT_EQ(message.rfind("Cannot create file \"" + bad + "\". ", 0), 0u) << message;
  EXPECT_GT(message.size(), bad.size() + 22) << "with the system's reason";
  EXPECT_FALSE(Exists(bad));
}

TEST_F(CfgTest, AReadOnlyFileIsReadButNotReplaced) {
  WriteBytes(file_, "a=1\n");
  ASSERT_TRUE(Os().files->SetAttributes(file_, win::kAttrReadOnly));
  TCFG cfg(file_);
  EXPECT_EQ(cfg.ReadValue("a"), "1");
  cfg.WriteValue("a", "2");
  std::string message = ErrorOf([&] { cfg.Close(); });
  EXPECT_EQ(message.rfind("Cannot create file \"" + file_ + "\". ", 0), 0u) << message;
  Os().files->SetAttributes(file_, win::kAttrNormal);
  EXPECT_EQ(ReadBytes(file_), "a=1\n");
  EXPECT_EQ(ListFolder(folder_.dir()), std::vector<std::string>{"game.cfg"}) << "no temporary file is left";
}

// A save replaces the file through a temporary one beside it; the user must not see that: any
// path the host may pass works, and the file stays the file the user made (a link stays a link,
// the permission bits, owner and hidden or system attributes stay).
TEST_F(CfgTest, ASaveKeepsWhatTheFileIs) {
  auto save = [](const std::string& path) {
    TCFG cfg(path);
    cfg.WriteValue("a", "2");
    cfg.Close();
    return ReadBytes(path);
  };
  // A target of 259 characters: the longest a folder (248) and a name may make.
  std::string deep = folder_.path(std::string(240 - folder_.dir().size(), 'd'));
  ASSERT_TRUE(Os().files->MakeDirectory(deep));
  std::string longest = deep + kPathDelim + std::string(259 - deep.size() - 1, 'n');
  WriteBytes(longest, "a=1\r\n");
  EXPECT_EQ(save(longest), "a=2\r\n");
  EXPECT_EQ(ListFolder(deep + kPathDelim).size(), 1u) << "no temporary file is left";
#ifdef _WIN32
  const uint32_t hiddenSystem = win::kAttrHidden | win::kAttrSystem;
  WriteBytes(file_, "a=1\r\n");
  ASSERT_TRUE(Os().files->SetAttributes(file_, hiddenSystem));
  EXPECT_EQ(save(file_), "a=2\r\n");
  EXPECT_EQ(Os().files->GetAttributes(file_) & hiddenSystem, hiddenSystem);
#else
  WriteBytes(file_, "a=1\r\n");
  ASSERT_EQ(chmod(file_.c_str(), 0600), 0);
  ASSERT_EQ(chown(file_.c_str(), 4321, 4321), 0) << "the tests run as root";
  EXPECT_EQ(save(file_), "a=2\r\n");
  struct stat st{};
  ASSERT_EQ(stat(file_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4321u);

  std::string link = folder_.path("link.cfg");
  ASSERT_EQ(symlink("game.cfg", link.c_str()), 0);
  EXPECT_EQ(save(link), "a=2\r\n");
  struct stat lst{};
  ASSERT_EQ(lstat(link.c_str(), &lst), 0);
  EXPECT_TRUE(S_ISLNK(lst.st_mode)) << "the link is still a link";
  WriteBytes(file_, "a=1\r\n");
  EXPECT_EQ(save(link), "a=2\r\n");
  EXPECT_EQ(ReadBytes(file_), "a=2\r\n") << "the file it leads to was saved";
#endif
}

#ifndef _WIN32
class CfgFaults : public CfgTest {
 protected:
  posix::ScopedFaults faults_;
};

TEST_F(CfgFaults, AFailedWriteLeavesTheOldFileWhole) {
  std::string before = "keep=1\nother line\r\n";
  WriteBytes(file_, before);
  TCFG cfg(file_);
  cfg.WriteValue("keep", "2");
  posix::Faults::Fail("WriteWhole", win::kDiskFull, "", 1);
  EXPECT_EQ(ErrorOf([&] { cfg.Close(); }),
            "Cannot create file \"" + file_ + "\". There is not enough space on the disk.");
  EXPECT_EQ(ReadBytes(file_), before);
  EXPECT_EQ(ListFolder(folder_.dir()), std::vector<std::string>{"game.cfg"});

  posix::Faults::Fail("MoveReplace", win::kAccessDenied, "", 1);
  EXPECT_NE(ErrorOf([&] { cfg.Close(); }), "");
  EXPECT_EQ(ReadBytes(file_), before);
  EXPECT_EQ(ListFolder(folder_.dir()), std::vector<std::string>{"game.cfg"});

  cfg.Close();
  EXPECT_EQ(ReadBytes(file_), "keep=2\r\nother line\r\n") << "the changes are still there to be written";
}

TEST_F(CfgFaults, AFileThatCannotBeReadRaises) {
  WriteBytes(file_, "a=1\r\n");
  posix::Faults::Fail("ReadWhole", win::kSharingViolation);
  EXPECT_EQ(ErrorOf([&] { TCFG cfg(file_); }),
            "Cannot open file \"" + file_ +
                "\". The process cannot access the file because it is being used by another process.");
  EXPECT_EQ(ReadBytes(file_), "a=1\r\n");
}
#endif

}  // namespace
}  // namespace qzr::test
