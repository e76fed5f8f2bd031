// The undo folder: names that are legal file names and sort in time order, and the newest
// thousand kept with their descript.ion lines.
#include "apply/undo_files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "support/delegating_platform.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TEST(UndoFiles, NamesAreFileNamesInTimeOrder) {
  TempFolder folder;
  const std::string undo = UndoFolder(folder.dir());
  const LocalTime when{2026, 12, 8, 14, 35, 1};
  struct Case {
    std::string tweak, name;
  };
  const std::vector<Case> cases{
      {"Explorer - Show extensions", "20261208-143501 Explorer - Show extensions.reg"},
      {"What: \"this\" <or> that? a/b\\c|d*\t", "20261208-143501-002 What_ _this_ _or_ that_ a_b_c_d__.reg"},
      {"Trailing dots and blanks. . ", "20261208-143501-003 Trailing dots and blanks.reg"},
      {"Explorer - Show extensions", "20261208-143501-004 Explorer - Show extensions.reg"}};
  for (const Case& c : cases)
    EXPECT_EQ(WriteUndoFile(undo, UndoFile{c.tweak, "reg", "x", "d"}, when), undo + c.name);
  EXPECT_EQ(ListFolder(undo).size(), cases.size() + 1) << "and the descript.ion";

  // In a deep settings folder the tweak's part is cut so that the path stays within MAX_PATH.
  std::string deep = folder.dir();
  while (deep.size() < 190) deep += std::string(20, 'd') + kPathDelim;
  std::filesystem::create_directories(std::filesystem::path(deep));
  const std::string path = WriteUndoFile(UndoFolder(deep), UndoFile{std::string(200, 'T'), "reg", "x", "d"}, when);
  EXPECT_LE(path.size(), 259u);
  EXPECT_TRUE(Exists(path)) << path;
}

TEST(UndoFiles, TheNewestThousandAreKept) {
  TempFolder folder;
  const std::string undo = UndoFolder(folder.dir());
  WriteUndoFile(undo, UndoFile{"T", "reg", "x", "n0"}, LocalTime{2025, 1, 1, 0, 0, 0});
  std::string lines = ReadBytes(undo + "descript.ion");
  for (int i = 1; i < static_cast<int>(kMaxUndoFiles); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "20250101-00%02d%02d T.reg", i / 60, i % 60);
    WriteBytes(undo + name, "x");
    lines += "\"" + std::string(name) + "\" n" + std::to_string(i) + "\r\n";
  }
  WriteBytes(undo + "descript.ion", lines);
  WriteBytes(undo + "mine.txt", "a file of the user's");
  const std::string newest = WriteUndoFile(undo, UndoFile{"T", "reg", "x", "last"}, LocalTime{2026, 1, 1, 0, 0, 0});
  const std::vector<std::string> names = ListFolder(undo);
  EXPECT_EQ(names.size(), kMaxUndoFiles + 2) << "a thousand backups, the descript.ion and the user's own file";
  EXPECT_EQ(names.front(), "20250101-000001 T.reg") << "the oldest went";
  EXPECT_TRUE(Exists(newest));
  const std::string list = ReadBytes(undo + "descript.ion");
  EXPECT_TRUE(list.starts_with("\"20250101-000001 T.reg\" n1\r\n")) << "its line went too";
  EXPECT_TRUE(list.ends_with("\"20260101-000000 T.reg\" last\r\n"));
}

// Another host sharing the folder takes the name between this one's look and its write: the
// backup takes the next number, and the other's file stays as it was.
TEST(UndoFiles, ANameTakenMeanwhileIsNeverWrittenOver) {
  TempFolder folder;
  const std::string undo = UndoFolder(folder.dir());
  std::filesystem::create_directories(std::filesystem::path(undo));
  WriteBytes(undo + "20261208-143501 T.reg", "the other host's");
  class Unseen final : public DelegatingFiles {
    std::vector<FoundFile> FindFiles(const std::string&) override { return {}; }
    uint32_t GetAttributes(const std::string& path) override {
      return path.ends_with(".reg") ? win::kInvalidAttributes : DelegatingFiles::GetAttributes(path);
    }
  } unseen;
  Override<FileApi> racing(Os().files, &unseen);
  EXPECT_EQ(WriteUndoFile(undo, UndoFile{"T", "reg", "mine", "d"}, LocalTime{2026, 12, 8, 14, 35, 1}),
            undo + "20261208-143501-002 T.reg");
  EXPECT_EQ(ReadBytes(undo + "20261208-143501 T.reg"), "the other host's");
}

// Pruning takes only backups of ours, oldest by the time they were written, and never the one
// just written: the clock was set back, so its name is older than those of 999 others, and one
// backup, written last, has the oldest name of all. Files of the user's whose names merely start
// like ours, or that have no line of ours, stay.
TEST(UndoFiles, PruningGoesByTheFilesOwnTimeAndOnlyTakesOurs) {
  TempFolder folder;
  const std::string undo = UndoFolder(folder.dir());
  std::filesystem::create_directories(std::filesystem::path(undo));
  const auto dayAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  std::string lines;
  auto backup = [&](const std::string& name, int secondsAfter) {
    WriteBytes(undo + name, "x");
    std::filesystem::last_write_time(std::filesystem::path(undo + name), dayAgo + std::chrono::seconds(secondsAfter));
    lines += "\"" + name + "\" d\r\n";
  };
  for (int i = 0; i + 1 < static_cast<int>(kMaxUndoFiles); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "20270101-00%02d%02d T.reg", i / 60, i % 60);
    backup(name, i);
  }
  backup("20250101-000000 Late.reg", 5000);
  const std::vector<std::string> users{"20240101-000000 notes.txt", "20240101-000000notes.txt",
                                       "20240101-000000-1 x.reg", "20240101-000000 trailing .txt"};
  for (const std::string& name : users) WriteBytes(undo + name, "the user's");
  lines += "\"20240101-000000notes.txt\" a line the user wrote\r\n";
  WriteBytes(undo + "descript.ion", lines);

  const std::string written = WriteUndoFile(undo, UndoFile{"Now", "reg", "x", "d"}, LocalTime{2026, 12, 8, 14, 35, 1});
  EXPECT_TRUE(Exists(written)) << "the backup just written stays";
  EXPECT_TRUE(Exists(undo + "20250101-000000 Late.reg")) << "written last: among the newest";
  EXPECT_FALSE(Exists(undo + "20270101-000000 T.reg")) << "written first: the oldest";
  EXPECT_TRUE(Exists(undo + "20270101-000001 T.reg"));
  for (const std::string& name : users) EXPECT_TRUE(Exists(undo + name)) << name;
  const std::string list = ReadBytes(undo + "descript.ion");
  EXPECT_EQ(list.find("\"20270101-000000 T.reg\""), std::string::npos);
  EXPECT_NE(list.find("\"20240101-000000notes.txt\""), std::string::npos);
}

}  // namespace
}  // namespace qzr::test
