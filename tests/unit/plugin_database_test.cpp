// The plugin database build: which definitions are kept, the two folders with their lists and
// notes (checked byte by byte against tests/golden/database), and a second load over them.
#include <filesystem>
#include <map>

#include "database/plugin_database.h"
#include "plugin/state_calls.h"
#include "support/database_folders.h"
#include "support/delegating_platform.h"
#include "support/test_support.h"
#include "util/text.h"

#ifndef _WIN32
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

using Tree = std::map<std::string, std::string>;

// Every file below `root` by its relative path ('/' between parts), with its bytes.
Tree ReadTree(const std::string& root) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    tree[fs::relative(entry.path(), root).generic_string()] = ReadBytes(entry.path().string());
  }
  return tree;
}

// A time stamp reduced to its form: runs of digits and runs of letters each count as one.
std::string Shape(std::string_view text) {
  std::string shape;
  for (char c : text) {
    char k = (c >= '0' && c <= '9') ? '9' : (UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z') ? 'a' : c;
    if ((k == '9' || k == 'a') && !shape.empty() && shape.back() == k) continue;
    shape += k;
  }
  return shape;
}

std::string StampNow() {
  SystemApi& system = *Os().system;
  LocalTime now = system.Now();
  return system.FormatLongTime(now) + " " + system.FormatShortDate(now);
}

// A golden directory.txt ends with the line "<long time> <short date>": the actual line must be
// a stamp of the same form, the lines before it byte for byte the same.
void ExpectSameNote(const std::string& name, const std::string& expected, const std::string& actual) {
  const std::string placeholder = "<long time> <short date>\r\n";
  ASSERT_GE(expected.size(), placeholder.size());
  std::string head = expected.substr(0, expected.size() - placeholder.size());
  ASSERT_EQ(actual.substr(0, head.size()), head) << name;
  std::string stamp = actual.substr(head.size());
  ASSERT_GE(stamp.size(), 2u) << name;
  EXPECT_EQ(stamp.substr(stamp.size() - 2), "\r\n") << name;
  stamp.resize(stamp.size() - 2);
  EXPECT_EQ(stamp.find_first_of("\r\n"), std::string::npos) << name;
  EXPECT_EQ(Shape(stamp), Shape(StampNow())) << name << ": " << stamp;
}

void ExpectTree(const Tree& expected, const Tree& actual) {
  std::vector<std::string> expectedNames, actualNames;
  for (const auto& [name, bytes] : expected) expectedNames.push_back(name);
  for (const auto& [name, bytes] : actual) actualNames.push_back(name);
  ASSERT_EQ(actualNames, expectedNames);
  for (const auto& [name, bytes] : expected) {
    if (FileNamePart(name) == "directory.txt" || name.ends_with("/directory.txt"))
      ExpectSameNote(name, bytes, actual.at(name));
    else
      EXPECT_EQ(actual.at(name), bytes) << name;
  }
}

class DatabaseTest : public DatabaseFoldersTest {
 protected:
  void CopyGoldenDefinitions() {
    const fs::path from = SourcePath("tests/golden/database/plugins");
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
      fs::path to = fs::path(Plugins()) / fs::relative(entry.path(), from);
      if (entry.is_directory())
        fs::create_directory(to);
      else
        WriteBytes(to.string(), ReadBytes(entry.path().string()));
    }
    ASSERT_TRUE(Exists(Plugins() + "hide_ext.tweak"));
  }
  std::vector<std::string> TableNames() const {
    std::vector<std::string> names;
    for (const TTWREC& r : State().TweakTable) names.push_back(r.TweakName);
    return names;
  }
};

using Names = std::vector<std::string>;

TEST_F(DatabaseTest, GoldenBuildInEveryLanguage) {
  ScopedEnv iniPath("QZR_GOLDEN_INI", "C:\\Golden\\example.ini");
  CopyGoldenDefinitions();
  const Tree english = ReadTree(SourcePath("tests/golden/database/expected"));
  for (uint8_t language : {0, 1, 2}) {
    SCOPED_TRACE(language);
    TempFolder ini;
    Reload();
    State().IniDir = ini.dir();
    State().Language = language;
    BuildPluginDatabase();

    Tree expected = english;
    if (language != 0)
      expected["~trash/descript.ion"] =
          ReadBytes(SourcePath("tests/golden/database/trash-descript/lang" + std::to_string(language) + ".ion"));
    ExpectTree(expected, ReadTree(ini.dir()));

    EXPECT_EQ(TableNames(), (Names{"Example byte-array value", "Show extensions of known file types",
                              "INI switch in a folder named by the environment", "Name with a blank in its file name"}));
    ASSERT_EQ(State().TweakPos, 4);
    const TTWREC& ini_tweak = State().TweakTable[2];
    EXPECT_EQ(ini_tweak.Path, "C:\\Golden\\example.ini");
    EXPECT_EQ(ini_tweak.PlugType, kPlugIni);
    EXPECT_EQ(ini_tweak.Location, ini.path("qzr_plugins") + kPathDelim + "ini_env.tweak");
    EXPECT_EQ(State().TweakTable[3].DefValue, TweakValue(std::string("No"))) << "the comment is cut";
    EXPECT_EQ(State().TweakTable[0].ValueOn, TweakValue(TRaw{1, 0, 0, 0}));
  }
}

TEST_F(DatabaseTest, SecondLoadAppendsToTheTrashListAndKeepsTheNotes) {
  ScopedEnv iniPath("QZR_GOLDEN_INI", "C:\\Golden\\example.ini");
  CopyGoldenDefinitions();
  BuildPluginDatabase();
  const Tree first = ReadTree(ini_.dir());

  Reload();
  BuildPluginDatabase();
  Tree second = ReadTree(ini_.dir());
  EXPECT_EQ(second["~trash/descript.ion"], first.at("~trash/descript.ion") + first.at("~trash/descript.ion"));
  second["~trash/descript.ion"] = first.at("~trash/descript.ion");
  EXPECT_EQ(second, first) << "everything else, the notes' time stamps included, is as before";
  EXPECT_EQ(State().TweakPos, 4);
}

// The file calls of a build, by operation.
class CountingFiles : public DelegatingFiles {
 public:
  std::map<std::string, int> calls;

 protected:
  void Before(const char* operation) override { ++calls[operation]; }
};

TEST_F(DatabaseTest, EachDefinitionIsReadOnceAndItsCopyWrittenFromWhatWasRead) {
  ScopedEnv iniPath("QZR_GOLDEN_INI", "C:\\Golden\\example.ini");
  CopyGoldenDefinitions();
  const int definitions = static_cast<int>(FindTweakFiles(Plugins()).size());
  ASSERT_GT(definitions, 4) << "valid and rejected ones";
  CountingFiles counting;
  {
    Override<FileApi> files(Os().files, &counting);
    BuildPluginDatabase();
  }
  EXPECT_EQ(counting.calls["ReadWhole"], definitions);
  EXPECT_EQ(counting.calls["WriteCopy"], definitions);
  EXPECT_EQ(counting.calls["Copy"], 0) << "a copy would read the definition again";
  EXPECT_EQ(counting.calls["FindFiles"], 1);
}

TEST_F(DatabaseTest, UndefinedVariableLeavesThePathEmpty) {
  ScopedEnv iniPath("QZR_GOLDEN_INI", nullptr);
  CopyGoldenDefinitions();
  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"Example byte-array value", "Show extensions of known file types",
                            "Name with a blank in its file name"}));
  EXPECT_TRUE(Exists(Trash("ini_env.tweak")));
}

TEST_F(DatabaseTest, OsFamilyDecidesWhichFolderADefinitionGoesTo) {
  Definition("nine.tweak", "TWEAKNAME> Nine\r\nOS> 9X\r\nPATH> p\r\n");
  Definition("nt.tweak", "TWEAKNAME> NT\r\nOS> NT\r\nPATH> p\r\n");
  Definition("any.tweak", "TWEAKNAME> Any\r\nOS> XP\r\nPATH> p\r\n");

  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"Any", "NT"}));
  EXPECT_EQ(ReadBytes(Trash("descript.ion")), "\"nine.tweak\" Nine\r\n");
  EXPECT_EQ(ReadBytes(Valid("descript.ion")), "\"any.tweak\" Any\r\n\"nt.tweak\" NT\r\n");

  Reload();
  State().OSIsNT = false;
  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"Any", "Nine"}));
  EXPECT_EQ(ReadBytes(Valid("descript.ion")), "\"any.tweak\" Any\r\n\"nine.tweak\" Nine\r\n");
  EXPECT_EQ(ReadBytes(Trash("descript.ion")), "\"nine.tweak\" Nine\r\n\"nt.tweak\" NT\r\n");
  EXPECT_TRUE(Exists(Valid("nt.tweak"))) << "a copy from an earlier load stays";
  EXPECT_TRUE(Exists(Trash("nine.tweak")));
}

TEST_F(DatabaseTest, EmptyPluginFolderKeepsTheTrashListAndRemovesTheOldValidList) {
  fs::create_directory(Valid());
  fs::create_directory(Trash());
  WriteBytes(Valid("descript.ion"), "\"old.tweak\" Old\r\n");
  WriteBytes(Trash("descript.ion"), "\"older.tweak\" Older\r\n");
  WriteBytes(Valid("directory.txt"), "kept as it is");

  BuildPluginDatabase();
  EXPECT_EQ(State().TweakPos, 0);
  EXPECT_TRUE(State().TweakTable.empty());
  EXPECT_FALSE(Exists(Valid("descript.ion")));
  EXPECT_EQ(ReadBytes(Trash("descript.ion")), "\"older.tweak\" Older\r\n");
  EXPECT_EQ(ReadBytes(Valid("directory.txt")), "kept as it is") << "an existing note is never rewritten";
  EXPECT_TRUE(Exists(Trash("directory.txt")));

  fs::remove_all(Plugins());
  Reload();
  BuildPluginDatabase();
  EXPECT_EQ(State().TweakPos, 0) << "no plugins folder at all";
}

TEST_F(DatabaseTest, HowADefinitionFileIsRead) {
  // LF line ends, a comment cutting a value, Ctrl-Z ending the text, keywords in a CR LF mix.
  Definition("mixed.tweak",
             "TWEAKNAME> Mixed // not part of the name\nPATH> http://example/x\r\n// VALUENAME> commented\r\n"
             "VALUETYPE> DWORD\nVALUEON> 5\x1A\r\nVALUEOFF> 7\r\n");
  BuildPluginDatabase();
  ASSERT_EQ(State().TweakPos, 1);
  const TTWREC& r = State().TweakTable[0];
  EXPECT_EQ(r.TweakName, "Mixed");
  EXPECT_EQ(r.Path, "http:") << "a // in a value cuts it there";
  EXPECT_EQ(r.VarName, "");
  EXPECT_EQ(r.ValueOn, TweakValue(5));
  EXPECT_EQ(r.ValueOff, TweakValue()) << "nothing after Ctrl-Z is read";
  EXPECT_EQ(ReadBytes(Valid("mixed.tweak")), ReadBytes(Plugins() + "mixed.tweak")) << "the copy is the file as is";
}

// A lone CR stays inside its line, and a variable may hold line breaks: the name keeps them, but
// its descript.ion entry stays one line.
TEST_F(DatabaseTest, LineBreaksInANameDoNotBreakTheDescriptionList) {
  ScopedEnv breaks("QZR_LINE_BREAKS", "two\r\nlines");
  Definition("cr.tweak", "TWEAKNAME> Lone\rCR\r\nPATH> p\r\n");
  Definition("env.tweak", "TWEAKNAME> From %QZR_LINE_BREAKS%\r\nPATH> p\r\n");
  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"Lone\rCR", "From two\r\nlines"}));
  EXPECT_EQ(ReadBytes(Valid("descript.ion")), "\"cr.tweak\" Lone CR\r\n\"env.tweak\" From two  lines\r\n");
}

TEST_F(DatabaseTest, LoadTweakFileOfAMissingFileFilesItAsAnError) {
  fs::create_directory(Trash());
  LoadTweakFile(Plugins() + "gone.tweak");
  EXPECT_EQ(State().TweakPos, 0);
  EXPECT_TRUE(State().TweakTable.empty());
  EXPECT_EQ(ReadBytes(Trash("descript.ion")), "\"gone.tweak\" VLK Plugin with errors.\r\n");
}

TEST_F(DatabaseTest, BinSizeOutsideTheBoundIsAnError) {
  Definition("huge.tweak", "TWEAKNAME> Huge\r\nPATH> p\r\nVALUETYPE> BIN\r\nSIZE> 2147483647\r\nVALUEON> 01\r\n");
  Definition("negative.tweak", "TWEAKNAME> Negative\r\nPATH> p\r\nVALUETYPE> BIN\r\nSIZE> -4\r\nVALUEON> 01\r\n");
  Definition("largest.tweak", "TWEAKNAME> Largest\r\nPATH> p\r\nVALUETYPE> BIN\r\nSIZE> 65536\r\nVALUEON> 01\r\n");
  Definition("dword.tweak", "TWEAKNAME> Dword\r\nPATH> p\r\nVALUETYPE> DWORD\r\nSIZE> -4\r\nVALUEON> 01\r\n");
  // No size, or one that is no 32-bit number (it reads as 0), leaves nothing to write.
  Definition("nosize.tweak", "TWEAKNAME> No size\r\nPATH> p\r\nVALUETYPE> BIN\r\nVALUEON> 01\r\n");
  Definition("overflow.tweak", "TWEAKNAME> Overflow\r\nPATH> p\r\nVALUETYPE> BIN\r\nSIZE> 99999999999\r\n"
                               "VALUEOFF> 01\r\n");
  Definition("typed.tweak", "TWEAKNAME> Typed\r\nPATH> p\r\nVALUETYPE> BIN\r\nSIZE> 0\r\nNOTBOOL> 1\r\n");
  Definition("onlydelete.tweak", "TWEAKNAME> Only delete\r\nPATH> p\r\nVALUETYPE> BIN\r\nVALUEON> #SYSDELVAL\r\n"
                                 "VALUEOFF> #SYSDELKEY\r\n");
  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"Dword", "Largest", "Only delete"}))
      << "the size matters only to BIN values that write bytes";
  EXPECT_EQ(std::get<TRaw>(State().TweakTable[1].ValueOn).size(), 65536u);
  EXPECT_EQ(ReadBytes(Trash("descript.ion")),
            "\"huge.tweak\" Huge\r\n\"negative.tweak\" Negative\r\n\"nosize.tweak\" No size\r\n"
            "\"overflow.tweak\" Overflow\r\n\"typed.tweak\" Typed\r\n");
}

TEST_F(DatabaseTest, ReadOnlyAndHiddenCopiesAreReplaced) {
  Definition("locked.tweak", "TWEAKNAME> Locked v1\r\nPATH> p\r\n");
  Definition("shy.tweak", "TWEAKNAME> Shy v1\r\nPATH> p\r\n");
  Definition("bad.tweak", "PATH> p\r\n");
  FileApi& files = *Os().files;
  ASSERT_TRUE(files.SetAttributes(Plugins() + "locked.tweak", win::kAttrReadOnly));
  ASSERT_TRUE(files.SetAttributes(Plugins() + "shy.tweak", win::kAttrHidden));
  ASSERT_TRUE(files.SetAttributes(Plugins() + "bad.tweak", win::kAttrReadOnly));
  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"Locked v1", "Shy v1"})) << "read-only and hidden definitions are read";
  EXPECT_EQ(ReadBytes(Valid("locked.tweak")), "TWEAKNAME> Locked v1\r\nPATH> p\r\n");

  for (const char* name : {"locked.tweak", "shy.tweak", "bad.tweak"})
    ASSERT_TRUE(files.SetAttributes(Plugins() + name, win::kAttrNormal));
  Definition("locked.tweak", "TWEAKNAME> Locked v2\r\nPATH> p\r\n");
  Definition("shy.tweak", "TWEAKNAME> Shy v2\r\nPATH> p\r\n");
  Definition("bad.tweak", "PATH> p2\r\n");
  Reload();
  BuildPluginDatabase();
  EXPECT_EQ(ReadBytes(Valid("locked.tweak")), "TWEAKNAME> Locked v2\r\nPATH> p\r\n");
  EXPECT_EQ(ReadBytes(Valid("shy.tweak")), "TWEAKNAME> Shy v2\r\nPATH> p\r\n");
  EXPECT_EQ(ReadBytes(Trash("bad.tweak")), "PATH> p2\r\n");
}

TEST_F(DatabaseTest, UnwritableDatabaseStillFillsTheTable) {
  State().IniDir = ini_.path("missing") + kPathDelim + "deeper" + kPathDelim;
  Definition("a.tweak", "TWEAKNAME> A\r\nPATH> p\r\n");
  Definition("b.tweak", "PATH> p\r\n");
  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"A"}));
  EXPECT_TRUE(ListFolder(ini_.dir()).empty()) << "only one folder level is ever made";
}

#ifndef _WIN32
TEST_F(DatabaseTest, FailingFileOperationsDoNotStopTheBuild) {
  posix::ScopedFaults faults;
  Definition("a.tweak", "TWEAKNAME> A\r\nPATH> p\r\n");
  Definition("b.tweak", "TWEAKNAME> B\r\nPATH> p\r\n");
  Definition("c.tweak", "TWEAKNAME> C\r\nPATH> p\r\n");
  posix::Faults::Fail("WriteCopy", win::kDiskFull, "a.tweak");
  posix::Faults::Fail("ReadWhole", win::kSharingViolation, "b.tweak");
  BuildPluginDatabase();
  EXPECT_EQ(TableNames(), (Names{"A", "C"}));
  EXPECT_FALSE(Exists(Valid("a.tweak")));
  EXPECT_EQ(ReadBytes(Valid("descript.ion")), "\"a.tweak\" A\r\n\"c.tweak\" C\r\n");
  EXPECT_EQ(ReadBytes(Trash("descript.ion")), "\"b.tweak\" VLK Plugin with errors.\r\n")
      << "a file that cannot be read is a definition with errors";
}
#endif

TEST_F(DatabaseTest, ForceDeleteFile) {
  EXPECT_TRUE(ForceDeleteFile(module_.path("missing")));
  WriteBytes(module_.path("plain"), "x");
  EXPECT_TRUE(ForceDeleteFile(module_.path("plain")));
  EXPECT_FALSE(Exists(module_.path("plain")));
  WriteBytes(module_.path("locked"), "x");
  ASSERT_TRUE(Os().files->SetAttributes(module_.path("locked"), win::kAttrReadOnly));
  EXPECT_TRUE(ForceDeleteFile(module_.path("locked")));
  EXPECT_FALSE(Exists(module_.path("locked")));
  fs::create_directory(module_.path("folder"));
  EXPECT_FALSE(ForceDeleteFile(module_.path("folder")));
#ifndef _WIN32
  posix::ScopedFaults faults;
  WriteBytes(module_.path("stuck"), "x");
  posix::Faults::Fail("SetAttributes", win::kAccessDenied, "stuck");
  EXPECT_FALSE(ForceDeleteFile(module_.path("stuck")));
  EXPECT_TRUE(Exists(module_.path("stuck"))) << "nothing is deleted when the attribute stays";
#endif
}

}  // namespace
}  // namespace qzr::test
