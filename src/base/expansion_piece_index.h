// The expansion's pieces listed by the hash of what they hold: one open-addressed table of hashes
// in flat arrays, each hash with its list of pieces in the order they were added. A round adds a
// piece for every occurrence it joins, so a table of nodes would allocate once a piece; this one
// allocates only when it doubles.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qzr::expansion {

class PieceIndex {
 public:
  // Room for about `pieces` pieces before the table grows.
  void Reserve(size_t pieces) {
    entries_.reserve(pieces);
    if (slots_.size() < 2 * pieces) Rehash(2 * pieces);
  }

  void Add(uint64_t hash, int32_t piece) {
    if (2 * (used_ + 1) > slots_.size()) Rehash(2 * (used_ + 1));
    Slot& slot = SlotOf(hash);
    if (!slot.used) {
      slot = {hash, kEnd, kEnd, true};
      ++used_;
    }
    const auto entry = static_cast<int32_t>(entries_.size());
    entries_.push_back({piece, kEnd});
    (slot.tail == kEnd ? slot.head : entries_[slot.tail].next) = entry;
    slot.tail = entry;
  }

  // Calls keep(piece) for the pieces listed under `hash`, oldest first; those it returns false for
  // leave the list.
  template <class Keep>
  void Visit(uint64_t hash, Keep keep) {
    if (slots_.empty()) return;
    Slot& slot = SlotOf(hash);
    if (!slot.used) return;
    int32_t before = kEnd;
    for (int32_t e = slot.head; e != kEnd; e = entries_[e].next) {
      if (keep(entries_[e].piece)) {
        before = e;
        continue;
      }
      (before == kEnd ? slot.head : entries_[before].next) = entries_[e].next;
      if (slot.tail == e) slot.tail = before;
    }
  }

 private:
  static constexpr int32_t kEnd = -1;
  struct Slot {
    uint64_t hash = 0;
    int32_t head = kEnd, tail = kEnd;
    bool used = false;
  };
  struct Entry {
    int32_t piece;
    int32_t next;
  };

  // The hashes are polynomial, so their low bits are mixed before they pick a slot.
  Slot& SlotOf(uint64_t hash) {
    const size_t mask = slots_.size() - 1;
    size_t i = static_cast<size_t>((hash ^ (hash >> 31)) * 0x9e3779b97f4a7c15u >> 17) & mask;
    while (slots_[i].used && slots_[i].hash != hash) i = (i + 1) & mask;
    return slots_[i];
  }

  void Rehash(size_t atLeast) {
    size_t size = 16;
    while (size < atLeast) size *= 2;
    std::vector<Slot> old(size);
    old.swap(slots_);
    for (const Slot& slot : old)
      if (slot.used) SlotOf(slot.hash) = slot;
  }

  std::vector<Slot> slots_;  // a power of two of them, at most half used
  std::vector<Entry> entries_;
  size_t used_ = 0;
};

}  // namespace qzr::expansion
