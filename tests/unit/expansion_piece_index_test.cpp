// The expansion's table of pieces by hash: lists in the order pieces were added, entries dropped
// where the visitor says so, and every list intact when the table grows past what was reserved.
#include <vector>

#include "base/expansion_piece_index.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

using expansion::PieceIndex;

// Pieces 0..count-1 added round-robin under `hashes` hashes (close values, so that neighbouring
// slots collide), after reserving `reserve`.
struct Row {
  const char* what;
  size_t reserve;
  int count;
  uint64_t hashes;
};

TEST(PieceIndex, ListsPiecesInOrderAndDropsWhatTheVisitorRejects) {
  const Row rows[] = {
      {"one hash, reserved", 8, 5, 1},
      {"many hashes, nothing reserved", 0, 300, 97},
      {"hashes far beyond the reserve", 4, 1000, 1000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    PieceIndex index;
    index.Reserve(row.reserve);
    for (int piece = 0; piece < row.count; ++piece) index.Add(piece % row.hashes * 0x100000001b3u, piece);
    for (uint64_t h = 0; h < row.hashes; ++h) {
      const uint64_t hash = h * 0x100000001b3u;
      std::vector<int32_t> all, kept;
      // Drop every other piece, the last one listed among them.
      index.Visit(hash, [&](int32_t piece) {
        all.push_back(piece);
        return all.size() % 2 == 1 && piece + static_cast<int>(row.hashes) < row.count;
      });
      std::vector<int32_t> expected;
      for (int piece = static_cast<int>(h); piece < row.count; piece += static_cast<int>(row.hashes)) expected.push_back(piece);
      EXPECT_EQ(all, expected) << "hash " << h;
      // What is left, then a piece added after a dropped last one, come out in order.
      index.Add(hash, -1);
      index.Visit(hash, [&](int32_t piece) {
        kept.push_back(piece);
        return true;
      });
      expected.clear();
      for (size_t i = 0; i < all.size(); ++i)
        if (i % 2 == 0 && all[i] + static_cast<int>(row.hashes) < row.count) expected.push_back(all[i]);
      expected.push_back(-1);
      EXPECT_EQ(kept, expected) << "hash " << h;
    }
    std::vector<int32_t> none;
    index.Visit(0xdeadbeef, [&](int32_t piece) {
      none.push_back(piece);
      return true;
    });
    EXPECT_TRUE(none.empty());
  }
}

}  // namespace
}  // namespace qzr::test
