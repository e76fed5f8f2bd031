// The virtual folder's listing: order, the "." entry, duplicate and "@" names, masks, lookups.
#include <cstring>

#include "plugin/listing.h"
#include "plugin/plugin_state.h"
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
  // A whole search; `handle` gets its handle, left open.
  std::vector<std::string> ListAll(void** handle = nullptr) {
    FirstEntry first = FindFirstEntry();
    std::vector<std::string> names{first.Entry.Name};
    while (auto e = FindNextEntry(first.Handle)) names.push_back(e->Name);
    if (handle) *handle = first.Handle;
    return names;
  }
};

TEST_F(ListingTest, ListsEveryTweakInTableOrderWithAFullStop) {
  Table({"A", "B", "C"});
  void* handle = nullptr;
  EXPECT_EQ(ListAll(&handle), (std::vector<std::string>{"A.", "B.", "C."}));
  EXPECT_FALSE(FindNextEntry(handle)) << "FsFindNext after the end keeps answering 0";
  EXPECT_FALSE(FindNextEntry(handle));
  EXPECT_EQ(CloseSearch(handle), 0);
  EXPECT_EQ(ListAll(&handle), (std::vector<std::string>{"A.", "B.", "C."})) << "a second listing starts again";
  EXPECT_EQ(CloseSearch(handle), 0);
}

TEST_F(ListingTest, NoTweakListsOneDotEntry) {
  Table({});
  FirstEntry first = FindFirstEntry();
  EXPECT_EQ(first.Entry.Name, ".");
  EXPECT_EQ(first.Entry.Size, 0);
  EXPECT_FALSE(FindNextEntry(first.Handle));
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
  EXPECT_EQ(FindFirstEntry().Entry.Name, ".");
}

// Each FsFindFirst has a position of its own: searches that overlap (both panels, on worker
// threads) each see the whole folder. A handle the listing did not hand out, or has closed, finds
// nothing and closes nothing; a host that never closes loses only its oldest searches.
TEST_F(ListingTest, EverySearchKeepsItsOwnPlace) {
  Table({"A", "B", "C"});
  FirstEntry one = FindFirstEntry(), two = FindFirstEntry();
  ASSERT_NE(one.Handle, two.Handle);
  for (void* handle : {one.Handle, two.Handle}) {
    EXPECT_NE(handle, nullptr);
    EXPECT_NE(handle, reinterpret_cast<void*>(intptr_t{-1}));
  }
  std::vector<std::string> first{one.Entry.Name}, second{two.Entry.Name};
  for (int i = 0; i < 3; ++i) {  // interleaved, one step each in turn
    if (auto e = FindNextEntry(one.Handle)) first.push_back(e->Name);
    if (auto e = FindNextEntry(two.Handle)) second.push_back(e->Name);
  }
  EXPECT_EQ(first, (std::vector<std::string>{"A.", "B.", "C."}));
  EXPECT_EQ(second, first);

  FirstEntry three = FindFirstEntry();
  int local = 0;
  for (void* stranger : {static_cast<void*>(nullptr), static_cast<void*>(&local), one.Handle}) {
    if (stranger == one.Handle) {
      EXPECT_EQ(CloseSearch(one.Handle), 0);
    }
    EXPECT_FALSE(FindNextEntry(stranger));
    EXPECT_EQ(CloseSearch(stranger), 0);
  }
  EXPECT_EQ(FindNextEntry(three.Handle)->Name, "B.") << "untouched by the strangers";
  CloseSearch(two.Handle);
  CloseSearch(three.Handle);
  EXPECT_EQ(State().Searches.size(), 0u);

  std::vector<void*> forgotten;
  for (size_t i = 0; i < OpenSearches::kMostOpen + 2; ++i) forgotten.push_back(FindFirstEntry().Handle);
  EXPECT_EQ(State().Searches.size(), OpenSearches::kMostOpen);
  EXPECT_FALSE(FindNextEntry(forgotten[0])) << "the oldest is dropped";
  EXPECT_EQ(FindNextEntry(forgotten.back())->Name, "B.");
}

TEST_F(ListingTest, MasksFollowWildcardRules) {
  Table({"Alpha", "beta", "Gamma", "alps"});
  const TXARC& arc = *State().XArc;
  TSearch search;
  ASSERT_TRUE(arc.FindFirst("AL*", search));
  EXPECT_EQ(search.ItemName, "Alpha.");
  EXPECT_EQ(search.ItemIndex, 0);
  EXPECT_EQ(search.ItemSize, 0);
  ASSERT_TRUE(arc.FindNext(search));
  EXPECT_EQ(search.ItemName, "alps.");
  EXPECT_EQ(search.SearchIndex, 3);
  EXPECT_FALSE(arc.FindNext(search)) << "at the last position";
  EXPECT_EQ(search.SearchIndex, 3) << "stays positioned on the last entry";
  ASSERT_TRUE(arc.FindFirst("?amma.", search));
  EXPECT_FALSE(arc.FindNext(search));
  EXPECT_EQ(search.SearchIndex, -1);
  EXPECT_EQ(search.ItemIndex, -1);
  EXPECT_FALSE(arc.FindFirst("[xy]*", search));
  EXPECT_EQ(search.ItemSize, -1);
  arc.FindClose(search);
  EXPECT_FALSE(arc.FindNext(search));
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

}  // namespace
}  // namespace qzr::test
