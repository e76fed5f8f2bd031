// The rebuild command: definitions rewritten into the generated layout (checked byte for byte
// against tests/golden/rebuild with a fixed clock), what the database build reads from them, the
// copy back from ~trash, the count and its message, and definitions that cannot be read or
// written.
#include <cstdio>
#include <filesystem>
#include <map>

#include "base/errors.h"
#include "database/plugin_database.h"
#include "plugin/state_calls.h"
#include "database/rebuild.h"
#include "support/database_folders.h"
#include "support/delegating_platform.h"
#include "support/fixed_clock.h"
#include "support/test_support.h"
#include "util/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/posix/faults.h"
#endif

namespace qzr::test {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// The real file system, except that the search of `folder` also finds `name`, which is not there:
// a definition deleted between the search and its turn.
class VanishingFile final : public DelegatingFiles {
 public:
  VanishingFile(FileApi& real, std::string folder, std::string name)
      : DelegatingFiles(real), folder_(std::move(folder)), name_(std::move(name)) {}
  std::vector<FoundFile> FindFiles(const std::string& mask) override {
    std::vector<FoundFile> found;
    if (mask.starts_with(folder_)) found.push_back(FoundFile{name_, win::kAttrArchive});
    for (FoundFile& file : DelegatingFiles::FindFiles(mask)) found.push_back(std::move(file));
    return found;
  }

 private:
  std::string folder_, name_;
};

// A definition held open by another program that lets nobody else read it.
class LockedFile {
 public:
  explicit LockedFile(const std::string& path) {
#ifdef _WIN32
    handle_ = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
#else
    posix::Faults::Fail("ReadWhole", win::kSharingViolation, FileNamePart(path));
#endif
  }
  ~LockedFile() {
#ifdef _WIN32
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
#else
    posix::Faults::Clear();
#endif
  }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

 private:
#ifdef _WIN32
  HANDLE handle_ = INVALID_HANDLE_VALUE;
#endif
};

const std::string kRule(80, '/');

class RebuildTest : public DatabaseFoldersTest {
 protected:
  void CopyGoldenDefinitions() {
    for (const auto& entry : fs::directory_iterator(SourcePath("tests/golden/rebuild/plugins")))
      WriteBytes(Plugins(entry.path().filename().string()), ReadBytes(entry.path().string()));
  }
  std::map<std::string, std::string> ReadPlugins() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : ListFolder(Plugins())) files[name] = ReadBytes(Plugins(name));
    return files;
  }
  std::string Rebuilt(int count) const { return "Plugins were rebuilt. " + std::to_string(count) + " plugins was parsed."; }

  SystemApi& realSystem_ = *Os().system;
  FixedClock clock_{realSystem_, 9};
  Override<SystemApi> clockOverride_{Os().system, &clock_};
};

TEST_F(RebuildTest, GoldenRewriteInEveryLanguage) {
  const fs::path golden = SourcePath("tests/golden/rebuild/expected");
  for (uint8_t language : {0, 1, 2}) {
    SCOPED_TRACE(language);
    fs::remove_all(Plugins());
    fs::create_directory(Plugins());
    CopyGoldenDefinitions();
    WriteBytes(Plugins("descript.ion"), "\"indented.tweak\" Show hidden files\r\n");
    ASSERT_TRUE(Os().files->SetAttributes(Plugins("descript.ion"), win::kAttrReadOnly));
    ui_ = RecordingUi();
    State().Language = language;

    RebuildBase();

    std::map<std::string, std::string> expected;
    for (const auto& entry : fs::directory_iterator(golden / ("lang" + std::to_string(language))))
      expected[entry.path().filename().string()] = ReadBytes(entry.path().string());
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(ReadPlugins(), expected) << "descript.ion is gone, nothing else is left behind";
    const Names messages[] = {{Rebuilt(5)}, {"Обработка плагинов завершена. Обработано 5 файлов"}, {}};
    EXPECT_EQ(ui_.messages, messages[language]);
    EXPECT_EQ(ui_.captions, language < 2 ? Names{"QZR_TC"} : Names{});
  }
}

TEST_F(RebuildTest, SecondRunChangesOnlyTheStamp) {
  for (uint8_t language : {0, 1, 2}) {
    SCOPED_TRACE(language);
    State().Language = language;
    CopyGoldenDefinitions();
    RebuildBase();
    const auto first = ReadPlugins();

    RebuildBase();
    EXPECT_EQ(ReadPlugins(), first) << "the same clock gives the same bytes";

    FixedClock later(realSystem_, 41);
    Override<SystemApi> laterClock(Os().system, &later);
    RebuildBase();
    for (const auto& [name, bytes] : ReadPlugins()) {
      std::string expected = first.at(name);
      if (size_t stamp = expected.find("14:07:09\r\n"); stamp != std::string::npos) expected.replace(stamp, 8, "14:07:41");
      EXPECT_EQ(bytes, expected) << name;
    }
  }
}

TEST_F(RebuildTest, TheBuildReadsTheSameSettingsFromTheRewrittenFile) {
  CopyGoldenDefinitions();
  BuildPluginDatabase();
  const std::vector<TTWREC> before = State().TweakTable;
  const std::string validBefore = ReadBytes(ini_.path("qzr_plugins") + kPathDelim + "descript.ion");
  ASSERT_EQ(before.size(), 4u) << "all but the empty definition are valid";

  RebuildBase();
  Reload();
  BuildPluginDatabase();
  EXPECT_EQ(State().TweakTable, before) << "nothing after a Ctrl-Z is read, a lone CR stays in its line";
  EXPECT_EQ(ReadBytes(ini_.path("qzr_plugins") + kPathDelim + "descript.ion"), validBefore);
}

TEST_F(RebuildTest, RejectedDefinitionsComeBackFromTheDatabaseTrash) {
  WriteBytes(Plugins("a.tweak"), "TWEAKNAME> A fixed since\r\nPATH> p\r\n");
  WriteBytes(Plugins("b.tweak"), "TWEAKNAME> B\r\n");
  fs::create_directory(Plugins("folder.tweak"));
  fs::create_directory(Trash());
  WriteBytes(Trash("a.tweak"), "TWEAKNAME> A as first rejected\r\n");
  WriteBytes(Trash("c.tweak"), "  PATH> c\r\n");
  WriteBytes(Trash("d.tweak"), "");
  WriteBytes(Trash("e.tweak"), "TWEAKNAME> E\r\nOS> 9X\r\nPATH> e\r\n");
  WriteBytes(Trash("descript.ion"), "\"c.tweak\" VLK Plugin with errors.\r\n");
  WriteBytes(Trash("directory.txt"), "note");
  fs::create_directory(Trash("g.tweak"));
  // The module's own ~trash is not where the build files rejected definitions here.
  fs::create_directory(module_.path("~trash"));
  WriteBytes(module_.path("~trash") + kPathDelim + "stray.tweak", "TWEAKNAME> Stray\r\n");
  const auto trashBefore = ListFolder(Trash());

  RebuildBase();

  EXPECT_EQ(ui_.messages, Names{Rebuilt(5)}) << "2 definitions in plugins and 3 others from ~trash";
  EXPECT_EQ(ListFolder(Plugins()), (Names{"a.tweak", "b.tweak", "c.tweak", "d.tweak", "e.tweak", "folder.tweak"}));
  EXPECT_NE(ReadBytes(Plugins("a.tweak")).find("\r\nTWEAKNAME> A fixed since\r\nPATH> p\r\n"), std::string::npos)
      << "an older copy in ~trash never replaces the user's definition";
  EXPECT_NE(ReadBytes(Plugins("c.tweak")).find("\r\n\r\n\r\nPATH> c\r\n\r\n\r\n\r\n// Auto generated"), std::string::npos)
      << "copies are rewritten too";
  EXPECT_EQ(ListFolder(Trash()), trashBefore);
  EXPECT_EQ(ReadBytes(Trash("a.tweak")), "TWEAKNAME> A as first rejected\r\n");
  EXPECT_EQ(ReadBytes(Trash("c.tweak")), "  PATH> c\r\n") << "the copies in ~trash stay as they are";

  // Settings beside the module: its ~trash is the database's.
  ui_.messages.clear();
  State().IniDir = module_.dir();
  RebuildBase();
  EXPECT_EQ(ui_.messages, Names{Rebuilt(6)});
  EXPECT_TRUE(Exists(Plugins("stray.tweak")));
}

TEST_F(RebuildTest, NothingToRewriteReportsNought) {
  RebuildBase();
  fs::remove_all(Plugins());
  RebuildBase();
  EXPECT_EQ(ui_.messages, (Names{Rebuilt(0), Rebuilt(0)}));
  EXPECT_FALSE(Exists(Plugins())) << "a missing plugins folder is not made";
}

TEST_F(RebuildTest, DefinitionThatCannotBeReadIsLeftAsItIsAndNotCounted) {
  WriteBytes(Plugins("a.tweak"), "TWEAKNAME> A\r\n");
  WriteBytes(Plugins("locked.tweak"), "  TWEAKNAME> Locked\r\n");
#ifndef _WIN32
  posix::ScopedFaults faults;
#endif
  VanishingFile vanishing(*Os().files, Plugins(), "gone.tweak");
  Override<FileApi> files(Os().files, &vanishing);
  {
    LockedFile locked(Plugins("locked.tweak"));
    RebuildBase();
  }
  EXPECT_EQ(ui_.messages, Names{Rebuilt(1)});
  EXPECT_EQ(ListFolder(Plugins()), (Names{"a.tweak", "locked.tweak"})) << "no file is made for the one that went";
  EXPECT_EQ(ReadBytes(Plugins("locked.tweak")), "  TWEAKNAME> Locked\r\n");
  EXPECT_TRUE(ReadBytes(Plugins("a.tweak")).starts_with(kRule));
}

class UnwritableTest : public RebuildTest {
 protected:
  // Three definitions; the second in the order of the search is the one that cannot be written.
  UnwritableTest() {
    for (const char* name : {"a.tweak", "b.tweak", "c.tweak"}) WriteBytes(Plugins(name), std::string("PATH> ") + name + "\r\n");
    order_ = FindTweakFiles(Plugins());
  }
  // Runs the command, which must stop at the second file with `error`, and checks what is left.
  void ExpectStopAtSecond(long error) {
    std::string second = Plugins(order_.at(1));
    try {
      RebuildBase();
      ADD_FAILURE() << "no error";
    } catch (const ShownError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot create file \"" + Os().system->AnsiToUtf8(second) + "\". " + Os().system->ErrorMessage(error));
    }
    EXPECT_TRUE(ui_.messages.empty()) << "no summary after an error";
    EXPECT_TRUE(ReadBytes(Plugins(order_[0])).starts_with(kRule)) << "the file before it stays rewritten";
    for (size_t i : {1u, 2u}) EXPECT_EQ(ReadBytes(Plugins(order_[i])), "PATH> " + order_[i] + "\r\n") << order_[i];
    EXPECT_EQ(ListFolder(Plugins()), (Names{"a.tweak", "b.tweak", "c.tweak"})) << "no temporary file is left";
  }
  Names order_;
};

TEST_F(UnwritableTest, ReadOnlyDefinitionEndsTheCommand) {
  ASSERT_EQ(order_.size(), 3u);
  ASSERT_TRUE(Os().files->SetAttributes(Plugins(order_[1]), win::kAttrReadOnly));
  ExpectStopAtSecond(win::kAccessDenied);
}

#ifndef _WIN32
TEST_F(UnwritableTest, FailedWriteOrReplaceLeavesTheOldFileWhole) {
  for (const char* operation : {"WriteWhole", "MoveReplace"}) {
    SCOPED_TRACE(operation);
    posix::ScopedFaults faults;
    for (const std::string& name : order_) WriteBytes(Plugins(name), "PATH> " + name + "\r\n");
    // The replacement is written under a temporary name of its own: the second such write fails.
    if (operation == std::string("WriteWhole"))
      posix::Faults::Fail(operation, win::kDiskFull, "~qzr", -1, 1);
    else
      posix::Faults::Fail(operation, win::kDiskFull, order_.at(1));
    ExpectStopAtSecond(operation == std::string("WriteWhole") ? win::kDiskFull : win::kAccessDenied);
  }
}
#endif

#ifdef _WIN32
TEST_F(RebuildTest, HiddenAndSystemDefinitionsAreRewrittenAndStaySo) {
  WriteBytes(Plugins("hidden.tweak"), "  TWEAKNAME> Hidden\r\n");
  WriteBytes(Plugins("system.tweak"), "  TWEAKNAME> System\r\n");
  ASSERT_TRUE(SetFileAttributesA(Plugins("hidden.tweak").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA(Plugins("system.tweak").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));

  RebuildBase();

  EXPECT_EQ(ui_.messages, Names{Rebuilt(2)});
  EXPECT_NE(ReadBytes(Plugins("hidden.tweak")).find("\r\nTWEAKNAME> Hidden\r\n"), std::string::npos);
  EXPECT_NE(ReadBytes(Plugins("system.tweak")).find("\r\nTWEAKNAME> System\r\n"), std::string::npos);
  EXPECT_TRUE(GetFileAttributesA(Plugins("hidden.tweak").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(GetFileAttributesA(Plugins("system.tweak").c_str()) & FILE_ATTRIBUTE_SYSTEM);
}
#endif

}  // namespace
}  // namespace qzr::test
