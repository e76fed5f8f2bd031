// What the expansion put in so far, and the cycle test that traces a reference back through it.
#include "base/expansion_text.h"

namespace qzr::expansion {

int32_t History::Token(const std::string& name) {
  // Looked up first: emplace would make (and drop) a node for a name already known.
  if (auto known = tokens_.find(name); known != tokens_.end()) return known->second;
  return tokens_.emplace(name, static_cast<int32_t>(tokens_.size())).first->second;
}

int32_t History::Insert(int32_t token, std::vector<int32_t> sources) {
  insertions_.push_back({token, std::move(sources), 0});
  return static_cast<int32_t>(insertions_.size() - 1);
}

bool History::IsCycle(const std::string& name, std::vector<int32_t> pending) {
  auto id = tokens_.find(name);
  if (id == tokens_.end()) return false;
  ++visit_;
  while (!pending.empty()) {
    int32_t i = pending.back();
    pending.pop_back();
    if (insertions_[i].Visited == visit_) continue;
    insertions_[i].Visited = visit_;
    if (insertions_[i].Token == id->second) return true;
    pending.insert(pending.end(), insertions_[i].Sources.begin(), insertions_[i].Sources.end());
  }
  return false;
}

}  // namespace qzr::expansion
