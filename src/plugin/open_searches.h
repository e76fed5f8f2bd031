// The searches a host has open: every FsFindFirst gets a cursor of its own under a handle that
// FsFindNext and FsFindClose bring back, so two listings at once (both panels, on worker
// threads) never move each other. A handle is a number, never an address: one the module did
// not hand out, or has closed, is simply not found.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>

#include "plugin/x_arc.h"

namespace qzr {

class OpenSearches {
 public:
  // A host that never closes its searches loses the oldest beyond this many.
  static constexpr size_t kMostOpen = 256;

  // Keeps `search` under a new handle: never null, never the interface's invalid handle (-1).
  void* Open(const TSearch& search);
  // The search behind `handle`, or null when it is not one of the open ones.
  TSearch* Find(void* handle);
  // Frees the search behind `handle`; false when there was none.
  bool Close(void* handle);
  size_t size() const { return open_.size(); }

 private:
  std::map<uintptr_t, TSearch> open_;
  uintptr_t last_ = 0;
};

}  // namespace qzr
