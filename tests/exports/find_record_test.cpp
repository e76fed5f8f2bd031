// The host's find record, narrow and wide: every field, the name cut to the record and the short
// name only when it fits, and nothing written past either name field.
#include <cstring>

#include "interface/find_record.h"
#include "support/test_support.h"
#include "util/utf16.h"

namespace qzr::test {
namespace {

template <typename Record>
struct Guarded {
  Record data;
  char guard[16];
};

template <typename Ch>
std::string Utf8(const Ch* text) {
  if constexpr (sizeof(Ch) == 1)
    return text;
  else
    return Utf16ToUtf8(text);
}

template <typename Record>
void CheckRecord() {
  Guarded<Record> g;
  std::memset(&g, 0x5A, sizeof g);
  FillFindData(&g.data, ListedEntry{"Show extensions.", 0});
  EXPECT_EQ(g.data.dwFileAttributes, 0x80u);
  EXPECT_EQ(g.data.ftCreationTime.dwLowDateTime, 0xFFFFFFFFu);
  EXPECT_EQ(g.data.ftLastWriteTime.dwHighDateTime, 0xFFFFFFFFu);
  EXPECT_EQ(g.data.ftLastAccessTime.dwHighDateTime, 0xFFFFFFFFu);
  EXPECT_EQ(g.data.nFileSizeHigh, 0u);
  EXPECT_EQ(g.data.nFileSizeLow, 0u);
  EXPECT_EQ(Utf8(g.data.cFileName), "Show extensions.");
  EXPECT_EQ(Utf8(g.data.cAlternateFileName), "") << "16 characters do not fit the short name";
  EXPECT_EQ(g.data.dwReserved0, 0x5A5A5A5Au) << "reserved fields are not written";

  FillFindData(&g.data, ListedEntry{"Short.", 0});
  EXPECT_EQ(Utf8(g.data.cAlternateFileName), "Short.");

  std::string longName(300, 'n');
  FillFindData(&g.data, ListedEntry{longName, 0});
  EXPECT_EQ(Utf8(g.data.cFileName), longName.substr(0, 259));
  EXPECT_EQ(Utf8(g.data.cAlternateFileName), "");
  for (char c : g.guard) EXPECT_EQ(c, 0x5A);
}

TEST(FindRecord, FillsEveryFieldAndNeverWritesPastANameField) {
  CheckRecord<host::FindData>();
  CheckRecord<host::FindDataW>();
}

}  // namespace
}  // namespace qzr::test
