// The file functions of the platform seam the database build uses, held to what Windows does:
// under Wine against the real API, natively against the substitute.
#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#include <sddl.h>
#else
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include "support/test_support.h"
#include "util/text.h"

namespace qzr::test {
namespace {

class FileContract : public ::testing::Test {
 protected:
  static FileApi& files() { return *Os().files; }
  std::string Path(const std::string& name) const { return folder_.path(name); }
  void Make(const std::string& name, const std::string& bytes = "x") { WriteBytes(Path(name), bytes); }
  bool ReadOnly(const std::string& name) const {
    uint32_t a = files().GetAttributes(Path(name));
    return a != win::kInvalidAttributes && (a & win::kAttrReadOnly);
  }
  TempFolder folder_;
};

TEST_F(FileContract, FindFilesMatchesTheMaskWithoutRegardToCaseAndTellsFoldersApart) {
  Make("b.tweak");
  Make("A.TWEAK");
  Make("c.tweak.bak");
  Make("d.txt");
  Make("with blank.tweak");
  Make("r.tweak");
  ASSERT_TRUE(files().SetAttributes(Path("r.tweak"), win::kAttrReadOnly));
  ASSERT_TRUE(files().MakeDirectory(Path("e.tweak")));

  std::vector<FoundFile> found = files().FindFiles(Path("*.tweak"));
  std::vector<std::string> names;
  for (const FoundFile& f : found) {
    names.push_back(f.Name);
    EXPECT_EQ((f.Attributes & win::kAttrDirectory) != 0, f.Name == "e.tweak") << f.Name;
    EXPECT_EQ((f.Attributes & win::kAttrReadOnly) != 0, f.Name == "r.tweak") << f.Name;
  }
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) { return LessNoCaseAscii(a, b); });
  EXPECT_EQ(sorted, (std::vector<std::string>{"A.TWEAK", "b.tweak", "e.tweak", "r.tweak", "with blank.tweak"}));
  EXPECT_EQ(names, sorted) << "every volume lists names in NTFS's case-insensitive order";
  EXPECT_TRUE(files().FindFiles(Path("*.none")).empty());
  EXPECT_TRUE(files().FindFiles(Path("missing") + kPathDelim + "*.tweak").empty());
}

TEST_F(FileContract, CopyReplacesUnlessToldNotTo) {
  Make("src", "new");
  Make("dst", "old content");
  EXPECT_FALSE(files().Copy(Path("src"), Path("dst"), true));
  EXPECT_EQ(ReadBytes(Path("dst")), "old content");
  EXPECT_TRUE(files().Copy(Path("src"), Path("dst"), false));
  EXPECT_EQ(ReadBytes(Path("dst")), "new");
  EXPECT_TRUE(files().Copy(Path("src"), Path("fresh"), true));
  EXPECT_EQ(ReadBytes(Path("fresh")), "new");
  EXPECT_FALSE(files().Copy(Path("missing"), Path("other"), false));
  EXPECT_FALSE(Exists(Path("other")));
  EXPECT_FALSE(files().Copy(Path("src"), Path("nofolder") + kPathDelim + "x", false));
}

// WriteCopy makes what Copy makes of a source with those bytes and attributes, from memory.
TEST_F(FileContract, WriteCopyMakesWhatCopyMakes) {
  struct Case {
    const char* name;
    uint32_t sourceAttributes;
    bool existing, readOnlyExisting;
    bool written;
  } cases[] = {
      {"plain", win::kAttrArchive, false, false, true},
      {"read-only source", win::kAttrReadOnly | win::kAttrArchive, false, false, true},
      {"over a writable file", win::kAttrNormal, true, false, true},
      {"read-only over a writable file", win::kAttrReadOnly, true, false, true},
#ifndef _WIN32
      // Windows refuses to write over a read-only file; Wine run as root lets the write through.
      {"over a read-only file", win::kAttrNormal, true, true, false},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string target = Path(c.name);
    if (c.existing) Make(c.name, "earlier, longer bytes");
    if (c.readOnlyExisting) {
      ASSERT_TRUE(files().SetAttributes(target, win::kAttrReadOnly));
    }
    EXPECT_EQ(files().WriteCopy(target, "A\r\nB", c.sourceAttributes) == win::kSuccess, c.written);
    EXPECT_EQ(ReadBytes(target), c.written ? "A\r\nB" : "earlier, longer bytes");
    EXPECT_EQ(ReadOnly(c.name), c.readOnlyExisting || (c.sourceAttributes & win::kAttrReadOnly) != 0);
  }
  ASSERT_TRUE(files().MakeDirectory(Path("folder")));
  EXPECT_NE(files().WriteCopy(Path("folder"), "x", win::kAttrNormal), win::kSuccess);
  EXPECT_EQ(files().WriteCopy(Path("missing") + kPathDelim + "x", "x", win::kAttrNormal), win::kPathNotFound);
}

TEST_F(FileContract, CopyKeepsTheReadOnlyAttributeAndCannotReplaceAReadOnlyFile) {
  Make("src", "data");
  ASSERT_TRUE(files().SetAttributes(Path("src"), win::kAttrReadOnly));
  EXPECT_TRUE(files().Copy(Path("src"), Path("copy"), false));
  EXPECT_EQ(ReadBytes(Path("copy")), "data");
  EXPECT_TRUE(ReadOnly("copy")) << "a copy takes its source's attributes";
#ifndef _WIN32
  // Windows refuses to copy over a read-only file; Wine run as root lets the write through, so
  // only the substitute is held to it here.
  Make("other", "other");
  EXPECT_FALSE(files().Copy(Path("other"), Path("copy"), false));
  EXPECT_EQ(ReadBytes(Path("copy")), "data");
#endif
}

TEST_F(FileContract, RemoveFileRefusesReadOnlyFilesAndFolders) {
  Make("plain");
  EXPECT_TRUE(files().RemoveFile(Path("plain")));
  EXPECT_FALSE(Exists(Path("plain")));
  EXPECT_FALSE(files().RemoveFile(Path("plain")));
  Make("locked");
  ASSERT_TRUE(files().SetAttributes(Path("locked"), win::kAttrReadOnly));
  EXPECT_FALSE(files().RemoveFile(Path("locked")));
  EXPECT_TRUE(Exists(Path("locked")));
  ASSERT_TRUE(files().SetAttributes(Path("locked"), win::kAttrNormal));
  EXPECT_TRUE(files().RemoveFile(Path("locked")));
  ASSERT_TRUE(files().MakeDirectory(Path("dir")));
  EXPECT_FALSE(files().RemoveFile(Path("dir")));
}

TEST_F(FileContract, AttributesOfFilesAndFolders) {
  Make("f");
  uint32_t a = files().GetAttributes(Path("f"));
  ASSERT_NE(a, win::kInvalidAttributes);
  EXPECT_EQ(a & (win::kAttrDirectory | win::kAttrReadOnly), 0u);
  EXPECT_EQ(files().GetAttributes(Path("missing")), win::kInvalidAttributes);
  EXPECT_FALSE(files().SetAttributes(Path("missing"), win::kAttrNormal));
  ASSERT_TRUE(files().SetAttributes(Path("f"), a | win::kAttrReadOnly));
  EXPECT_TRUE(ReadOnly("f"));
  ASSERT_TRUE(files().SetAttributes(Path("f"), win::kAttrNormal));
  EXPECT_FALSE(ReadOnly("f"));
  WriteBytes(Path("f"), "w");
  EXPECT_EQ(ReadBytes(Path("f")), "w") << "writable again";
}

TEST_F(FileContract, MakeDirectoryMakesOneLevel) {
  EXPECT_TRUE(files().MakeDirectory(Path("one")));
  EXPECT_TRUE(files().GetAttributes(Path("one")) & win::kAttrDirectory);
  EXPECT_FALSE(files().MakeDirectory(Path("one"))) << "an existing folder";
  EXPECT_FALSE(files().MakeDirectory(Path("a") + kPathDelim + "b")) << "the parent is missing";
  EXPECT_FALSE(Exists(Path("a")));
  Make("file");
  EXPECT_FALSE(files().MakeDirectory(Path("file")));
}

// What the system keeps of a file besides its bytes, made restrictive on the old file and
// read back after a replacement: the DACL and attributes on Windows (readable by its owner
// alone, hidden), the permission bits, owner and extended attributes on POSIX.
#ifdef _WIN32
std::string Identity(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  DWORD size = 0;
  GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::string text(size, '\0');
  char* sddl = nullptr;
  if (GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, text.data(), size, &size) &&
      ConvertSecurityDescriptorToStringSecurityDescriptorA(text.data(), SDDL_REVISION_1,
                                                           DACL_SECURITY_INFORMATION, &sddl, nullptr)) {
    text = sddl;
    LocalFree(sddl);
  }
  return text + " attributes " + std::to_string(attributes);
}
void MakeRestrictive(const std::string& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;SY)(A;;FA;;;BA)", SDDL_REVISION_1,
                                                                   &descriptor, nullptr));
  EXPECT_TRUE(SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor));
  LocalFree(descriptor);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
}
#else
std::string Identity(const std::string& path) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return "missing";
  char tag[16] = {};
  ssize_t n = getxattr(path.c_str(), "user.qzr_tag", tag, sizeof tag - 1);
  return std::to_string(st.st_mode & 07777) + " " + std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid) +
         " tag " + (n < 0 ? std::string("none") : std::string(tag));
}
void MakeRestrictive(const std::string& path) {
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(chown(path.c_str(), 4321, 4321), 0) << "the tests run as root";
  ASSERT_EQ(setxattr(path.c_str(), "user.qzr_tag", "kept", 4, 0), 0);
}
#endif

TEST_F(FileContract, MoveReplaceKeepsWhatTheOldFileWasAndLeavesItWholeOnFailure) {
  Make("target", "old");
  MakeRestrictive(Path("target"));
  const std::string before = Identity(Path("target"));
  Make("fresh", "new");
  ASSERT_NE(Identity(Path("fresh")), before) << "a new file is made as the folder makes it";
  EXPECT_TRUE(files().MoveReplace(Path("fresh"), Path("target")));
  EXPECT_EQ(ReadBytes(Path("target")), "new");
  EXPECT_EQ(Identity(Path("target")), before);
  EXPECT_EQ(ListFolder(folder_.dir()), std::vector<std::string>{"target"}) << "nothing is left beside it";

  struct Failing {
    const char* what;
    const char* source;  // the replacement, made unless empty
  } failing[] = {{"a replacement that is missing", ""}, {"over a read-only file", "new"}};
  for (const Failing& f : failing) {
    SCOPED_TRACE(f.what);
    Make("kept", "old");
    if (*f.source) {
      Make("fresh", f.source);
      ASSERT_TRUE(files().SetAttributes(Path("kept"), win::kAttrReadOnly));
    }
    EXPECT_FALSE(files().MoveReplace(Path("fresh"), Path("kept")));
    EXPECT_EQ(ReadBytes(Path("kept")), "old");
    ASSERT_TRUE(files().SetAttributes(Path("kept"), win::kAttrNormal));
    files().RemoveFile(Path("fresh"));
    EXPECT_EQ(ListFolder(folder_.dir()), (std::vector<std::string>{"kept", "target"}));
    files().RemoveFile(Path("kept"));
  }

  Make("fresh", "first");
  EXPECT_TRUE(files().MoveReplace(Path("fresh"), Path("new file"))) << "a file that does not exist yet is made";
  EXPECT_EQ(ReadBytes(Path("new file")), "first");
}

// The calls that open, make or look at a file take paths of up to 260 characters (Wine counts
// them without the terminating zero, and as UTF-16 does: one each for Chinese); a longer path is
// refused and nothing is made. Copying takes longer paths, and so does the new name of a rename.
TEST_F(FileContract, PathsLongerThanMaxPathAreRefused) {
  std::string dir = folder_.dir() + std::string(200 - folder_.dir().size(), 'd');
  ASSERT_TRUE(files().MakeDirectory(dir));
  dir += kPathDelim;
  const std::string longest = dir + std::string(260 - dir.size(), 'f'), tooLong = longest + "g";
  EXPECT_EQ(files().WriteWhole(longest, "x"), win::kSuccess);
  EXPECT_NE(files().GetAttributes(longest), win::kInvalidAttributes);
  EXPECT_EQ(files().WriteWhole(tooLong, "x"), win::kFilenameExcedRange);
  EXPECT_EQ(files().AppendTo(tooLong, "x"), win::kFilenameExcedRange);
  EXPECT_EQ(files().CreateProbeFile(tooLong), win::kFilenameExcedRange);
  std::string content;
  EXPECT_EQ(files().ReadWhole(tooLong, &content), win::kFilenameExcedRange);
  EXPECT_EQ(files().GetAttributes(tooLong), win::kInvalidAttributes);
  EXPECT_FALSE(files().MakeDirectory(tooLong));
  EXPECT_EQ(ListFolder(dir), std::vector<std::string>{std::string(260 - dir.size(), 'f')});
  EXPECT_TRUE(files().Copy(longest, tooLong, false));
  EXPECT_EQ(ListFolder(dir).size(), 2u);
  WriteBytes(dir + "s", "s");
  EXPECT_FALSE(files().MoveReplace(tooLong, dir + "t")) << "a rename takes a long new name, not a long old one";
  EXPECT_TRUE(files().MoveReplace(dir + "s", tooLong + "h"));
  std::string chinese;
  for (size_t i = dir.size(); i < 260; ++i) chinese += "字";
  EXPECT_EQ(files().WriteWhole(dir + chinese, "x"), win::kSuccess) << "260 characters in three times as many bytes";
  EXPECT_EQ(files().WriteWhole(dir + chinese + "g", "x"), win::kFilenameExcedRange);
}

// Two programs that pick the same new name: CREATE_NEW gives it to one, and the other learns that
// the name is taken while the first one's file stays as it is.
TEST_F(FileContract, CreateNewNeverTouchesAFileThatIsThere) {
  EXPECT_EQ(files().CreateNew(Path("fresh"), "first"), win::kSuccess);
  EXPECT_EQ(ReadBytes(Path("fresh")), "first");
  EXPECT_EQ(files().CreateNew(Path("fresh"), "second"), win::kFileExists);
  EXPECT_EQ(ReadBytes(Path("fresh")), "first");
  EXPECT_NE(files().CreateNew(Path("nofolder") + kPathDelim + "x", "x"), win::kSuccess);
  const std::vector<FoundFile> found = files().FindFiles(Path("fresh"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_GT(found[0].WriteTime, 132223104000000000u) << "a FILETIME later than 2020";
}

// An edit holds the file for itself: an append that comes meanwhile is refused (after a few
// tries) rather than written into a file the edit is about to overwrite.
TEST_F(FileContract, EditWholeHoldsTheFileAgainstAppends) {
  Make("list", "one\r\ntwo\r\n");
  long appended = -1;
  EXPECT_EQ(files().EditWhole(Path("list"),
                              [&](const std::string& old) {
                                appended = files().AppendTo(Path("list"), "three\r\n");
                                return old.substr(5);
                              }),
            win::kSuccess);
  EXPECT_EQ(appended, win::kSharingViolation);
  EXPECT_EQ(ReadBytes(Path("list")), "two\r\n") << "shorter than it was: the rest is cut off";
  EXPECT_EQ(files().AppendTo(Path("list"), "three\r\n"), win::kSuccess);
  EXPECT_EQ(ReadBytes(Path("list")), "two\r\nthree\r\n");
  EXPECT_EQ(files().EditWhole(Path("missing"), [](const std::string& old) { return old; }), win::kFileNotFound);
  EXPECT_FALSE(Exists(Path("missing")));
}

// Paths are UTF-8 text: a folder named in Chinese, Cyrillic and an emoji (no ANSI code page has
// them all) is reached by every call, and names come back as they were made.
TEST_F(FileContract, EveryCallReachesAFolderNamedInAnyScript) {
  const std::string dir = Path("配置 Папка 😀"), inside = dir + kPathDelim, name = "отчёт 报告 😀.txt";
  ASSERT_TRUE(files().MakeDirectory(dir));
  EXPECT_TRUE(files().GetAttributes(dir) & win::kAttrDirectory);
  EXPECT_EQ(files().CreateProbeFile(inside + "probe"), win::kSuccess);
  EXPECT_TRUE(files().RemoveFile(inside + "probe"));
  EXPECT_EQ(files().WriteWhole(inside + name, "one"), win::kSuccess);
  EXPECT_EQ(files().AppendTo(inside + name, "+two"), win::kSuccess);
  EXPECT_EQ(files().CreateNew(inside + name, "x"), win::kFileExists);
  EXPECT_EQ(files().EditWhole(inside + name, [](const std::string& old) { return old + "!"; }), win::kSuccess);
  std::string content;
  EXPECT_EQ(files().ReadWhole(inside + name, &content), win::kSuccess);
  EXPECT_EQ(content, "one+two!");
  EXPECT_TRUE(files().Copy(inside + name, inside + "copy", false));
  EXPECT_EQ(files().CreateNew(inside + "new", "new"), win::kSuccess);
  EXPECT_TRUE(files().MoveReplace(inside + "new", inside + "copy")) << "over a file";
  EXPECT_EQ(files().WriteCopy(inside + "moved", "moved", win::kAttrNormal), win::kSuccess);
  EXPECT_TRUE(files().MoveReplace(inside + "moved", inside + "fresh")) << "where none is";
  EXPECT_TRUE(files().SetAttributes(inside + "fresh", win::kAttrReadOnly));
  EXPECT_TRUE(files().GetAttributes(inside + "fresh") & win::kAttrReadOnly);
  EXPECT_TRUE(files().SetAttributes(inside + "fresh", win::kAttrNormal));
  EXPECT_EQ(files().FinalPath(inside + name), inside + name);
  std::vector<std::string> names;
  for (const FoundFile& f : files().FindFiles(inside + "*")) names.push_back(f.Name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "copy", "fresh", name}));
  EXPECT_EQ(files().ReadWhole(inside + "copy", &content), win::kSuccess);
  EXPECT_EQ(content, "new");
  for (const std::string& file : {name, std::string("copy"), std::string("fresh")})
    EXPECT_TRUE(files().RemoveFile(inside + file)) << file;
  EXPECT_EQ(files().FindFiles(inside + "*").size(), 2u);
}

}  // namespace
}  // namespace qzr::test
