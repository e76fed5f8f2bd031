// The virtual folder as the host enumerates it.
#include "plugin/listing.h"

#include <algorithm>

#include "plugin/plugin_state.h"
#include "util/no_destructor.h"
#include "util/text.h"

namespace qzr {
namespace {

TXARC& Listing() {
  PluginState& s = State();
  if (!s.XArc) s.XArc = std::make_shared<TXARC>();
  return *s.XArc;
}

ListedEntry Found(const TSearch& search) { return ListedEntry{search.ItemName, search.ItemSize}; }

// The listing is made at the first call that needs it: the host's first listing as a rule, or
// a copy or open of a remembered name before any listing. Not before the host has named the
// settings folder: the database is built there, and a call that comes first (a column read, a
// listing on another thread) must neither build it elsewhere nor keep the host's folder from
// counting; it finds the folder empty.
TXARC& OpenedListing() {
  TXARC& listing = Listing();
  if (!listing.Opened && !State().IniDir.empty()) listing.Open("");
  return listing;
}

}  // namespace

std::recursive_mutex& ListingLock() {
  // Never destroyed, as the state it guards.
  static NoDestructor<std::recursive_mutex> lock;
  return lock.get();
}

StateReadCache& PanelReads() {
  std::lock_guard lock(ListingLock());
  PluginState& s = State();
  if (!s.Reads) s.Reads = std::make_shared<StateReadCache>();
  return *s.Reads;
}

ChoicesCache& PanelChoices() {
  std::lock_guard lock(ListingLock());
  PluginState& s = State();
  if (!s.Choices) s.Choices = std::make_shared<ChoicesCache>();
  return *s.Choices;
}

FirstEntry FindFirstEntry() {
  std::lock_guard lock(ListingLock());
  const TXARC& listing = OpenedListing();
  PanelReads().Invalidate();
  PanelChoices().Invalidate();
  TSearch search;
  FirstEntry first;
  first.Entry = listing.FindFirst("*.*", search) ? Found(search) : ListedEntry{".", 0};
  first.Handle = State().Searches.Open(search);
  return first;
}

std::optional<ListedEntry> FindNextEntry(void* handle) {
  std::lock_guard lock(ListingLock());
  TSearch* search = State().Searches.Find(handle);
  if (!search || !Listing().FindNext(*search)) return std::nullopt;
  return Found(*search);
}

int32_t CloseSearch(void* handle) {
  std::lock_guard lock(ListingLock());
  State().Searches.Close(handle);
  return 0;
}

int32_t TweakIndexOf(const std::string& remoteName) {
  std::lock_guard lock(ListingLock());
  return OpenedListing().IndexOfName(FileNamePart(remoteName));
}

const TTWREC* TweakAt(int32_t index) {
  std::lock_guard lock(ListingLock());
  const PluginState& s = State();
  if (index < 0 || index >= s.TweakPos || index >= static_cast<int32_t>(s.TweakTable.size())) return nullptr;
  return &s.TweakTable[static_cast<size_t>(index)];
}

std::span<const TTWREC> ListedTweaks() {
  std::lock_guard lock(ListingLock());
  OpenedListing();
  const PluginState& s = State();
  const size_t count = std::min(static_cast<size_t>(std::max(s.TweakPos, 0)), s.TweakTable.size());
  return {s.TweakTable.data(), count};
}

}  // namespace qzr
