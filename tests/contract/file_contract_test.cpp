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
#include "util/no_destructor.h"
#include "util/text.h"

#ifndef _WIN32
#include "platform/posix/memory_files.h"
#endif

namespace qzr::test {
namespace {

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

// The files the cases run on: the seam in force (the disk substitute, or Windows' calls under
// Wine) in a temporary folder of the test's own, checked with the test's own file calls; and on
// POSIX the substitute's files in memory, checked through themselves.
struct SeamFiles {
  static constexpr bool kKeepsIdentity = true;  // permission bits, owner, ACL: see Identity
  static FileApi& files() { return *Os().files; }
  std::string Dir() const { return folder.dir(); }
  static void Write(const std::string& path, const std::string& bytes) { WriteBytes(path, bytes); }
  static std::string Read(const std::string& path) { return ReadBytes(path); }
  static bool Exists(const std::string& path) { return test::Exists(path); }
  static std::vector<std::string> List(const std::string& dir) { return ListFolder(dir); }
  static std::string Identity(const std::string& path) { return test::Identity(path); }
  static void MakeRestrictive(const std::string& path) { test::MakeRestrictive(path); }
  TempFolder folder;
};

#ifndef _WIN32
struct MemoryFiles {
  static constexpr bool kKeepsIdentity = false;  // nothing but bytes and the read-only flag
  static posix::MemoryFiles& files() {
    static NoDestructor<posix::MemoryFiles> memory;
    return memory.get();
  }
  MemoryFiles() {
    files().Clear();
    EXPECT_TRUE(files().MakeDirectory("/contract"));
  }
  std::string Dir() const { return "/contract/"; }
  static void Write(const std::string& path, const std::string& bytes) {
    ASSERT_EQ(files().WriteWhole(path, bytes), win::kSuccess) << path;
  }
  static std::string Read(const std::string& path) {
    std::string bytes;
    files().ReadWhole(path, &bytes);
    return bytes;
  }
  static bool Exists(const std::string& path) { return files().GetAttributes(path) != win::kInvalidAttributes; }
  static std::vector<std::string> List(const std::string& dir) { return files().Names(dir); }
  static std::string Identity(const std::string&) { return ""; }
  static void MakeRestrictive(const std::string&) {}
};
using Volumes = ::testing::Types<SeamFiles, MemoryFiles>;
#else
using Volumes = ::testing::Types<SeamFiles>;
#endif

template <typename Volume>
class FileContract : public ::testing::Test {
 protected:
  static FileApi& files() { return Volume::files(); }
  std::string Dir() const { return volume_.Dir(); }
  std::string Path(const std::string& name) const { return Dir() + name; }
  void Make(const std::string& name, const std::string& bytes = "x") { Volume::Write(Path(name), bytes); }
  static void Write(const std::string& path, const std::string& bytes) { Volume::Write(path, bytes); }
  static std::string Read(const std::string& path) { return Volume::Read(path); }
  static bool Exists(const std::string& path) { return Volume::Exists(path); }
  std::vector<std::string> List() const { return Volume::List(Dir()); }
  static std::vector<std::string> List(const std::string& dir) { return Volume::List(dir); }
  bool ReadOnly(const std::string& name) const {
    uint32_t a = files().GetAttributes(Path(name));
    return a != win::kInvalidAttributes && (a & win::kAttrReadOnly);
  }
  Volume volume_;
};
TYPED_TEST_SUITE(FileContract, Volumes);

TYPED_TEST(FileContract, FindFilesMatchesTheMaskWithoutRegardToCaseAndTellsFoldersApart) {
  this->Make("b.tweak");
  this->Make("A.TWEAK");
  this->Make("c.tweak.bak");
  this->Make("d.txt");
  this->Make("with blank.tweak");
  this->Make("r.tweak");
  ASSERT_TRUE(this->files().SetAttributes(this->Path("r.tweak"), win::kAttrReadOnly));
  ASSERT_TRUE(this->files().MakeDirectory(this->Path("e.tweak")));

  std::vector<FoundFile> found = this->files().FindFiles(this->Path("*.tweak"));
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
  EXPECT_TRUE(this->files().FindFiles(this->Path("*.none")).empty());
  EXPECT_TRUE(this->files().FindFiles(this->Path("missing") + kPathDelim + "*.tweak").empty());
}

TYPED_TEST(FileContract, CopyReplacesUnlessToldNotTo) {
  this->Make("src", "new");
  this->Make("dst", "old content");
  EXPECT_FALSE(this->files().Copy(this->Path("src"), this->Path("dst"), true));
  EXPECT_EQ(this->Read(this->Path("dst")), "old content");
  EXPECT_TRUE(this->files().Copy(this->Path("src"), this->Path("dst"), false));
  EXPECT_EQ(this->Read(this->Path("dst")), "new");
  EXPECT_TRUE(this->files().Copy(this->Path("src"), this->Path("fresh"), true));
  EXPECT_EQ(this->Read(this->Path("fresh")), "new");
  EXPECT_FALSE(this->files().Copy(this->Path("missing"), this->Path("other"), false));
  EXPECT_FALSE(this->Exists(this->Path("other")));
  EXPECT_FALSE(this->files().Copy(this->Path("src"), this->Path("nofolder") + kPathDelim + "x", false));
}

// WriteCopy makes what Copy makes of a source with those bytes and attributes, from memory.
TYPED_TEST(FileContract, WriteCopyMakesWhatCopyMakes) {
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
    const std::string target = this->Path(c.name);
    if (c.existing) this->Make(c.name, "earlier, longer bytes");
    if (c.readOnlyExisting) {
      ASSERT_TRUE(this->files().SetAttributes(target, win::kAttrReadOnly));
    }
    EXPECT_EQ(this->files().WriteCopy(target, "A\r\nB", c.sourceAttributes) == win::kSuccess, c.written);
    EXPECT_EQ(this->Read(target), c.written ? "A\r\nB" : "earlier, longer bytes");
    EXPECT_EQ(this->ReadOnly(c.name), c.readOnlyExisting || (c.sourceAttributes & win::kAttrReadOnly) != 0);
  }
  ASSERT_TRUE(this->files().MakeDirectory(this->Path("folder")));
  EXPECT_NE(this->files().WriteCopy(this->Path("folder"), "x", win::kAttrNormal), win::kSuccess);
  EXPECT_EQ(this->files().WriteCopy(this->Path("missing") + kPathDelim + "x", "x", win::kAttrNormal), win::kPathNotFound);
}

TYPED_TEST(FileContract, CopyKeepsTheReadOnlyAttributeAndCannotReplaceAReadOnlyFile) {
  this->Make("src", "data");
  ASSERT_TRUE(this->files().SetAttributes(this->Path("src"), win::kAttrReadOnly));
  EXPECT_TRUE(this->files().Copy(this->Path("src"), this->Path("copy"), false));
  EXPECT_EQ(this->Read(this->Path("copy")), "data");
  EXPECT_TRUE(this->ReadOnly("copy")) << "a copy takes its source's attributes";
#ifndef _WIN32
  // Windows refuses to copy over a read-only file; Wine run as root lets the write through, so
  // only the substitute is held to it here.
  this->Make("other", "other");
  EXPECT_FALSE(this->files().Copy(this->Path("other"), this->Path("copy"), false));
  EXPECT_EQ(this->Read(this->Path("copy")), "data");
#endif
}

TYPED_TEST(FileContract, RemoveFileRefusesReadOnlyFilesAndFolders) {
  this->Make("plain");
  EXPECT_TRUE(this->files().RemoveFile(this->Path("plain")));
  EXPECT_FALSE(this->Exists(this->Path("plain")));
  EXPECT_FALSE(this->files().RemoveFile(this->Path("plain")));
  this->Make("locked");
  ASSERT_TRUE(this->files().SetAttributes(this->Path("locked"), win::kAttrReadOnly));
  EXPECT_FALSE(this->files().RemoveFile(this->Path("locked")));
  EXPECT_TRUE(this->Exists(this->Path("locked")));
  ASSERT_TRUE(this->files().SetAttributes(this->Path("locked"), win::kAttrNormal));
  EXPECT_TRUE(this->files().RemoveFile(this->Path("locked")));
  ASSERT_TRUE(this->files().MakeDirectory(this->Path("dir")));
  EXPECT_FALSE(this->files().RemoveFile(this->Path("dir")));
}

TYPED_TEST(FileContract, AttributesOfFilesAndFolders) {
  this->Make("f");
  uint32_t a = this->files().GetAttributes(this->Path("f"));
  ASSERT_NE(a, win::kInvalidAttributes);
  EXPECT_EQ(a & (win::kAttrDirectory | win::kAttrReadOnly), 0u);
  EXPECT_EQ(this->files().GetAttributes(this->Path("missing")), win::kInvalidAttributes);
  EXPECT_FALSE(this->files().SetAttributes(this->Path("missing"), win::kAttrNormal));
  ASSERT_TRUE(this->files().SetAttributes(this->Path("f"), a | win::kAttrReadOnly));
  EXPECT_TRUE(this->ReadOnly("f"));
  ASSERT_TRUE(this->files().SetAttributes(this->Path("f"), win::kAttrNormal));
  EXPECT_FALSE(this->ReadOnly("f"));
  this->Write(this->Path("f"), "w");
  EXPECT_EQ(this->Read(this->Path("f")), "w") << "writable again";
}

TYPED_TEST(FileContract, MakeDirectoryMakesOneLevel) {
  EXPECT_TRUE(this->files().MakeDirectory(this->Path("one")));
  EXPECT_TRUE(this->files().GetAttributes(this->Path("one")) & win::kAttrDirectory);
  EXPECT_FALSE(this->files().MakeDirectory(this->Path("one"))) << "an existing folder";
  EXPECT_FALSE(this->files().MakeDirectory(this->Path("a") + kPathDelim + "b")) << "the parent is missing";
  EXPECT_FALSE(this->Exists(this->Path("a")));
  this->Make("file");
  EXPECT_FALSE(this->files().MakeDirectory(this->Path("file")));
}

TYPED_TEST(FileContract, MoveReplaceKeepsWhatTheOldFileWasAndLeavesItWholeOnFailure) {
  this->Make("target", "old");
  TypeParam::MakeRestrictive(this->Path("target"));
  const std::string before = TypeParam::Identity(this->Path("target"));
  this->Make("fresh", "new");
  if (TypeParam::kKeepsIdentity) {
    ASSERT_NE(TypeParam::Identity(this->Path("fresh")), before) << "a new file is made as the folder makes it";
  }
  EXPECT_TRUE(this->files().MoveReplace(this->Path("fresh"), this->Path("target")));
  EXPECT_EQ(this->Read(this->Path("target")), "new");
  EXPECT_EQ(TypeParam::Identity(this->Path("target")), before);
  EXPECT_EQ(this->List(), std::vector<std::string>{"target"}) << "nothing is left beside it";

  struct Failing {
    const char* what;
    const char* source;  // the replacement, made unless empty
  } failing[] = {{"a replacement that is missing", ""}, {"over a read-only file", "new"}};
  for (const Failing& f : failing) {
    SCOPED_TRACE(f.what);
    this->Make("kept", "old");
    if (*f.source) {
      this->Make("fresh", f.source);
      ASSERT_TRUE(this->files().SetAttributes(this->Path("kept"), win::kAttrReadOnly));
    }
    EXPECT_FALSE(this->files().MoveReplace(this->Path("fresh"), this->Path("kept")));
    EXPECT_EQ(this->Read(this->Path("kept")), "old");
    ASSERT_TRUE(this->files().SetAttributes(this->Path("kept"), win::kAttrNormal));
    this->files().RemoveFile(this->Path("fresh"));
    EXPECT_EQ(this->List(), (std::vector<std::string>{"kept", "target"}));
    this->files().RemoveFile(this->Path("kept"));
  }

  this->Make("fresh", "first");
  EXPECT_TRUE(this->files().MoveReplace(this->Path("fresh"), this->Path("new file"))) << "a file that does not exist yet is made";
  EXPECT_EQ(this->Read(this->Path("new file")), "first");
}

// The calls that open, make or look at a file take paths of up to 260 characters (Wine counts
// them without the terminating zero, and as UTF-16 does: one each for Chinese); a longer path is
// refused and nothing is made. Copying takes longer paths, and so does the new name of a rename.
TYPED_TEST(FileContract, PathsLongerThanMaxPathAreRefused) {
  std::string dir = this->Dir() + std::string(200 - this->Dir().size(), 'd');
  ASSERT_TRUE(this->files().MakeDirectory(dir));
  dir += kPathDelim;
  const std::string longest = dir + std::string(260 - dir.size(), 'f'), tooLong = longest + "g";
  EXPECT_EQ(this->files().WriteWhole(longest, "x"), win::kSuccess);
  EXPECT_NE(this->files().GetAttributes(longest), win::kInvalidAttributes);
  EXPECT_EQ(this->files().WriteWhole(tooLong, "x"), win::kFilenameExcedRange);
  EXPECT_EQ(this->files().AppendTo(tooLong, "x"), win::kFilenameExcedRange);
  EXPECT_EQ(this->files().CreateProbeFile(tooLong), win::kFilenameExcedRange);
  std::string content;
  EXPECT_EQ(this->files().ReadWhole(tooLong, &content), win::kFilenameExcedRange);
  EXPECT_EQ(this->files().GetAttributes(tooLong), win::kInvalidAttributes);
  EXPECT_FALSE(this->files().MakeDirectory(tooLong));
  EXPECT_EQ(this->List(dir), std::vector<std::string>{std::string(260 - dir.size(), 'f')});
  EXPECT_TRUE(this->files().Copy(longest, tooLong, false));
  EXPECT_EQ(this->List(dir).size(), 2u);
  this->Write(dir + "s", "s");
  EXPECT_FALSE(this->files().MoveReplace(tooLong, dir + "t")) << "a rename takes a long new name, not a long old one";
  EXPECT_TRUE(this->files().MoveReplace(dir + "s", tooLong + "h"));
  std::string chinese;
  for (size_t i = dir.size(); i < 260; ++i) chinese += "字";
  EXPECT_EQ(this->files().WriteWhole(dir + chinese, "x"), win::kSuccess) << "260 characters in three times as many bytes";
  EXPECT_EQ(this->files().WriteWhole(dir + chinese + "g", "x"), win::kFilenameExcedRange);
}

// Two programs that pick the same new name: CREATE_NEW gives it to one, and the other learns that
// the name is taken while the first one's file stays as it is.
TYPED_TEST(FileContract, CreateNewNeverTouchesAFileThatIsThere) {
  EXPECT_EQ(this->files().CreateNew(this->Path("fresh"), "first"), win::kSuccess);
  EXPECT_EQ(this->Read(this->Path("fresh")), "first");
  EXPECT_EQ(this->files().CreateNew(this->Path("fresh"), "second"), win::kFileExists);
  EXPECT_EQ(this->Read(this->Path("fresh")), "first");
  EXPECT_NE(this->files().CreateNew(this->Path("nofolder") + kPathDelim + "x", "x"), win::kSuccess);
  const std::vector<FoundFile> found = this->files().FindFiles(this->Path("fresh"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_GT(found[0].WriteTime, 132223104000000000u) << "a FILETIME later than 2020";
}

// An edit holds the file for itself: an append that comes meanwhile is refused (after a few
// tries) rather than written into a file the edit is about to overwrite.
TYPED_TEST(FileContract, EditWholeHoldsTheFileAgainstAppends) {
  this->Make("list", "one\r\ntwo\r\n");
  long appended = -1;
  EXPECT_EQ(this->files().EditWhole(this->Path("list"),
                              [&](const std::string& old) {
                                appended = this->files().AppendTo(this->Path("list"), "three\r\n");
                                return old.substr(5);
                              }),
            win::kSuccess);
  EXPECT_EQ(appended, win::kSharingViolation);
  EXPECT_EQ(this->Read(this->Path("list")), "two\r\n") << "shorter than it was: the rest is cut off";
  EXPECT_EQ(this->files().AppendTo(this->Path("list"), "three\r\n"), win::kSuccess);
  EXPECT_EQ(this->Read(this->Path("list")), "two\r\nthree\r\n");
  EXPECT_EQ(this->files().EditWhole(this->Path("missing"), [](const std::string& old) { return old; }), win::kFileNotFound);
  EXPECT_FALSE(this->Exists(this->Path("missing")));
}

// Paths are UTF-8 text: a folder named in Chinese, Cyrillic and an emoji (no ANSI code page has
// them all) is reached by every call, and names come back as they were made.
TYPED_TEST(FileContract, EveryCallReachesAFolderNamedInAnyScript) {
  const std::string dir = this->Path("配置 Папка 😀"), inside = dir + kPathDelim, name = "отчёт 报告 😀.txt";
  ASSERT_TRUE(this->files().MakeDirectory(dir));
  EXPECT_TRUE(this->files().GetAttributes(dir) & win::kAttrDirectory);
  EXPECT_EQ(this->files().CreateProbeFile(inside + "probe"), win::kSuccess);
  EXPECT_TRUE(this->files().RemoveFile(inside + "probe"));
  EXPECT_EQ(this->files().WriteWhole(inside + name, "one"), win::kSuccess);
  EXPECT_EQ(this->files().AppendTo(inside + name, "+two"), win::kSuccess);
  EXPECT_EQ(this->files().CreateNew(inside + name, "x"), win::kFileExists);
  EXPECT_EQ(this->files().EditWhole(inside + name, [](const std::string& old) { return old + "!"; }), win::kSuccess);
  std::string content;
  EXPECT_EQ(this->files().ReadWhole(inside + name, &content), win::kSuccess);
  EXPECT_EQ(content, "one+two!");
  EXPECT_TRUE(this->files().Copy(inside + name, inside + "copy", false));
  EXPECT_EQ(this->files().CreateNew(inside + "new", "new"), win::kSuccess);
  EXPECT_TRUE(this->files().MoveReplace(inside + "new", inside + "copy")) << "over a file";
  EXPECT_EQ(this->files().WriteCopy(inside + "moved", "moved", win::kAttrNormal), win::kSuccess);
  EXPECT_TRUE(this->files().MoveReplace(inside + "moved", inside + "fresh")) << "where none is";
  EXPECT_TRUE(this->files().SetAttributes(inside + "fresh", win::kAttrReadOnly));
  EXPECT_TRUE(this->files().GetAttributes(inside + "fresh") & win::kAttrReadOnly);
  EXPECT_TRUE(this->files().SetAttributes(inside + "fresh", win::kAttrNormal));
  EXPECT_EQ(this->files().FinalPath(inside + name), inside + name);
  std::vector<std::string> names;
  for (const FoundFile& f : this->files().FindFiles(inside + "*")) names.push_back(f.Name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "copy", "fresh", name}));
  EXPECT_EQ(this->files().ReadWhole(inside + "copy", &content), win::kSuccess);
  EXPECT_EQ(content, "new");
  for (const std::string& file : {name, std::string("copy"), std::string("fresh")})
    EXPECT_TRUE(this->files().RemoveFile(inside + file)) << file;
  EXPECT_EQ(this->files().FindFiles(inside + "*").size(), 2u);
}

}  // namespace
}  // namespace qzr::test
