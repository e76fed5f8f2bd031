// The virtual folder's listing: order, the "." entry, duplicate and "@" names, masks, lookups,
// and the host's find record.
#include <cstring>

#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "plugin/find_record.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

class ListingTest : public PluginTest {
 protected:
  // The table the database build would have made, and an opened listing over it.
  void Table(std::initializer_list<const char*> names) {
    PluginState& s = State();
    s.TweakTable.clear();
    for (const char* n : names) {
      TTWREC r;
      r.TweakName = n;
      r.Path = "Software\\X";
      s.TweakTable.push_back(r);
    }
    s.TweakPos = static_cast<int32_t>(s.TweakTable.size());
    s.XArc = std::make_shared<TXARC>();
    s.XArc->Opened = true;
    s.XArc->LoadNames();
  }
  std::vector<std::string> ListAll() {
    std::vector<std::string> names{FindFirstEntry().Name};
    while (auto e = FindNextEntry()) names.push_back(e->Name);
    return names;
  }
};

TEST_F(ListingTest, ListsEveryTweakInTableOrderWithAFullStop) {
  Table({"A", "B", "C"});
  EXPECT_EQ(ListAll(), (std::vector<std::string>{"A.", "B.", "C."}));
  EXPECT_FALSE(FindNextEntry()) << "FsFindNext after the end keeps answering 0";
  EXPECT_FALSE(FindNextEntry());
  EXPECT_EQ(ListAll(), (std::vector<std::string>{"A.", "B.", "C."})) << "a second listing starts again";
  EXPECT_EQ(CloseSearch(), 0);
}

TEST_F(ListingTest, NoTweakListsOneDotEntry) {
  Table({});
  ListedEntry first = FindFirstEntry();
  EXPECT_EQ(first.Name, ".");
  EXPECT_EQ(first.Size, 0);
  EXPECT_FALSE(FindNextEntry());
}

TEST_F(ListingTest, DuplicateNamesAreListedAndResolveToTheFirst) {
  Table({"Same", "Other", "SAME"});
  EXPECT_EQ(ListAll(), (std::vector<std::string>{"Same.", "Other.", "SAME."}));
  std::string d(1, kPathDelim);
  EXPECT_EQ(TweakIndexOf(d + "same."), 0);
  EXPECT_EQ(TweakIndexOf(d + "SAME."), 0);
  EXPECT_EQ(TweakIndexOf(d + "other."), 1);
  EXPECT_EQ(TweakIndexOf("other."), 1) << "a bare name works too";
  EXPECT_EQ(TweakIndexOf(d + "Same"), -1) << "the full stop belongs to the name";
  EXPECT_EQ(TweakIndexOf(d + "missing."), -1);
  EXPECT_EQ(TweakAt(-1), nullptr);
  EXPECT_EQ(TweakAt(3), nullptr);
  ASSERT_NE(TweakAt(1), nullptr);
  EXPECT_EQ(TweakAt(1)->TweakName, "Other");
}

// The host knows an entry only by what its find record showed: a name cut to 259 bytes, or cut
// at a zero byte in it. Asked for by that form, the entry is found; a shorter cut is not.
TEST_F(ListingTest, NamesTheRecordCutAreFoundByTheirCutForm) {
  const std::string longName(300, 'L');
  const std::string withZero("Zero\0inside", 11);
  Table({longName.c_str(), "Plain", "Plain"});
  PluginState& s = State();
  s.TweakTable[1].TweakName = withZero;
  s.TweakTable.push_back(s.TweakTable[0]);
  s.TweakTable.back().TweakName = longName + "tail";  // the same cut form: the first one counts
  s.TweakPos = 4;
  s.XArc->LoadNames();
  std::string d(1, kPathDelim);
  EXPECT_EQ(TweakIndexOf(d + longName.substr(0, 259)), 0);
  EXPECT_EQ(TweakIndexOf(d + std::string(259, 'l')), 0) << "without regard to case, as every lookup";
  EXPECT_EQ(TweakIndexOf(d + longName + "."), 0) << "the whole name still works";
  EXPECT_EQ(TweakIndexOf(d + longName.substr(0, 258)), -1);
  EXPECT_EQ(TweakIndexOf(d + "Zero"), 1);
  EXPECT_EQ(TweakIndexOf(d + "Plain."), 2);
}

TEST_F(ListingTest, LeadingAtNamesAreSkippedOnlyBeforeTheFirstListedOne) {
  Table({"@hidden", "@also", "Shown", "@listed"});
  EXPECT_EQ(ListAll(), (std::vector<std::string>{"Shown.", "@listed."}));
  Table({"@only"});
  EXPECT_EQ(FindFirstEntry().Name, ".");
}

TEST_F(ListingTest, MasksFollowWildcardRules) {
  Table({"Alpha", "beta", "Gamma", "alps"});
  TXARC& arc = *State().XArc;
  ASSERT_TRUE(arc.FindFirst("AL*"));
  EXPECT_EQ(arc.ItemName, "Alpha.");
  EXPECT_EQ(arc.ItemIndex, 0);
  EXPECT_EQ(arc.ItemSize, 0);
  ASSERT_TRUE(arc.FindNext());
  EXPECT_EQ(arc.ItemName, "alps.");
  EXPECT_EQ(arc.SearchIndex, 3);
  EXPECT_FALSE(arc.FindNext()) << "at the last position";
  EXPECT_EQ(arc.SearchIndex, 3) << "stays positioned on the last entry";
  ASSERT_TRUE(arc.FindFirst("?amma."));
  EXPECT_FALSE(arc.FindNext());
  EXPECT_EQ(arc.SearchIndex, -1);
  EXPECT_EQ(arc.ItemIndex, -1);
  EXPECT_FALSE(arc.FindFirst("[xy]*"));
  EXPECT_EQ(arc.ItemSize, -1);
  arc.FindClose();
  EXPECT_FALSE(arc.FindNext());
}

TEST_F(ListingTest, TempExtAndAbout) {
  TXARC arc;
  EXPECT_EQ(arc.TempExt(), ".$$$");
  arc.SetTempExt("  .tmp\t");
  EXPECT_EQ(arc.TempExt(), ".tmp");
  arc.SetTempExt(" \r\n");
  EXPECT_EQ(arc.TempExt(), ".$$$");
  EXPECT_FALSE(arc.About().empty());
}

struct GuardedFindData {
  host::FindData data;
  char guard[16];
};

TEST(FindRecord, FillsEveryFieldAndNeverWritesPastANameField) {
  GuardedFindData g;
  std::memset(&g, 0x5A, sizeof g);
  FillFindData(&g.data, ListedEntry{"Show extensions.", 0});
  EXPECT_EQ(g.data.dwFileAttributes, 0x80u);
  EXPECT_EQ(g.data.ftCreationTime.dwLowDateTime, 0xFFFFFFFFu);
  EXPECT_EQ(g.data.ftLastWriteTime.dwHighDateTime, 0xFFFFFFFFu);
  EXPECT_EQ(g.data.ftLastAccessTime.dwHighDateTime, 0xFFFFFFFFu);
  EXPECT_EQ(g.data.nFileSizeHigh, 0u);
  EXPECT_EQ(g.data.nFileSizeLow, 0u);
  EXPECT_STREQ(g.data.cFileName, "Show extensions.");
  EXPECT_STREQ(g.data.cAlternateFileName, "") << "16 characters do not fit the short name";
  EXPECT_EQ(g.data.dwReserved0, 0x5A5A5A5Au) << "reserved fields are not written";

  FillFindData(&g.data, ListedEntry{"Short.", 0});
  EXPECT_STREQ(g.data.cAlternateFileName, "Short.");

  std::string longName(300, 'n');
  FillFindData(&g.data, ListedEntry{longName, 0});
  EXPECT_EQ(std::string(g.data.cFileName), longName.substr(0, 259));
  EXPECT_STREQ(g.data.cAlternateFileName, "");
  for (char c : g.guard) EXPECT_EQ(c, 0x5A);
}

}  // namespace
}  // namespace qzr::test
