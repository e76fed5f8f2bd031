// The host's open searches.
#include "plugin/open_searches.h"

namespace qzr {

void* OpenSearches::Open(const TSearch& search) {
  // Past the largest number the count starts again; 0 and -1 are never handed out.
  do ++last_;
  while (last_ == 0 || last_ == UINTPTR_MAX || open_.count(last_));
  while (open_.size() >= kMostOpen) open_.erase(open_.begin());
  open_.emplace(last_, search);
  return reinterpret_cast<void*>(last_);
}

TSearch* OpenSearches::Find(void* handle) {
  auto it = open_.find(reinterpret_cast<uintptr_t>(handle));
  return it == open_.end() ? nullptr : &it->second;
}

bool OpenSearches::Close(void* handle) { return open_.erase(reinterpret_cast<uintptr_t>(handle)) > 0; }

}  // namespace qzr
