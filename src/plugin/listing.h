// What the host's listing and file calls ask of the virtual folder, as portable functions: the
// exports only turn these answers into the host's records and codes.
#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "apply/state_read_cache.h"
#include "commands/choices_file.h"
#include "definitions/tweak_record.h"

namespace qzr {

struct ListedEntry {
  std::string Name;
  int32_t Size = 0;
};

// Held by every call below and by whatever else changes the listing or the folders it is built
// from: a host may ask for fields from one thread while another lists. Recursive, as a message
// box shown during the build lets the host call in again on the same thread.
std::recursive_mutex& ListingLock();

// The read cache the panel's columns read states through, made at first use.
StateReadCache& PanelReads();
// The cache the panel's columns read the choices file through, made at first use.
ChoicesCache& PanelChoices();

// A search FsFindFirst started: the handle the host gets, and the first entry.
struct FirstEntry {
  void* Handle = nullptr;
  ListedEntry Entry;
};

// FsFindFirst: opens the listing at the first call of a load (which builds the database) and
// starts a search of its own; the first entry, or "." when the folder holds no tweak. Until the
// host has named the settings folder nothing is built, and the folder lists as empty ("."). A
// listing is a fresh look: the panel's read cache and its choices are forgotten.
FirstEntry FindFirstEntry();
// FsFindNext: the search's next entry, or nothing when it is complete or `handle` is not a
// search FindFirstEntry started (or one already closed).
std::optional<ListedEntry> FindNextEntry(void* handle);
// FsFindClose: frees the search; a handle that is none is left alone. Answers 0.
int32_t CloseSearch(void* handle);

// The TweakTable index behind a remote name such as "\Show extensions.", or -1 when the listing
// does not hold that name (or cannot be made yet: the host has not named the settings folder).
int32_t TweakIndexOf(const std::string& remoteName);
// The record at that index; null for -1 or any index outside the table. Once the listing is
// made the table never changes, so the record may be read without the lock.
const TTWREC* TweakAt(int32_t index);

// Every tweak the listing holds, in its order: the listing is made first when it is not yet
// (empty until the host has named the settings folder). The table never changes once made, so
// the records may be read without the lock.
std::span<const TTWREC> ListedTweaks();

}  // namespace qzr
