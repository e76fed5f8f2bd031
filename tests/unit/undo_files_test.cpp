// The undo folder: names that are legal file names and sort in time order, and the newest
// thousand kept with their descript.ion lines.
#include "apply/undo_files.h"

#include <cstdio>
#include <filesystem>

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

}  // namespace
}  // namespace qzr::test
