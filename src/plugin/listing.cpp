// The virtual folder as the host enumerates it.
#include "plugin/listing.h"

#include "plugin/lifecycle.h"
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

ListedEntry Current() { return ListedEntry{Listing().ItemName, Listing().ItemSize}; }

// The listing is made at the first call that needs it: the host's first listing as a rule, or
// a copy or open of a remembered name before any listing.
TXARC& OpenedListing() {
  TXARC& listing = Listing();
  if (listing.Opened) return listing;
  // A host that never suggested a settings file gets the module's own folder for the settings
  // and the database, rather than paths relative to whatever its current folder is.
  if (State().IniDir.empty()) SetDefaultParams(std::string());
  listing.Open("");
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

ListedEntry FindFirstEntry() {
  std::lock_guard lock(ListingLock());
  OpenedListing();
  PanelReads().Invalidate();
  if (!Listing().FindFirst("*.*")) return ListedEntry{".", 0};
  return Current();
}

std::optional<ListedEntry> FindNextEntry() {
  std::lock_guard lock(ListingLock());
  if (!Listing().FindNext()) return std::nullopt;
  return Current();
}

int32_t CloseSearch() {
  std::lock_guard lock(ListingLock());
  return Listing().FindClose();
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

}  // namespace qzr
