// The module's global state: one instance for the whole load, never destroyed (shut-down may run
// after the C++ runtime's static destructors), so a test can start afresh with ResetState().
// Hosts call some entry points from background threads (the panel's fields): the listing and the
// database build behind it run under ListingLock() (listing.h), after which the tweak table no
// longer changes and is read without a lock; the read cache locks itself.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "apply/state_read_cache.h"
#include "commands/choices_file.h"
#include "definitions/tweak_record.h"
#include "plugin/open_searches.h"
#include "plugin/x_arc.h"
#include "texts/texts.h"

namespace qzr {

struct PluginState {
  // Start-up has run and shut-down has not: the entry points start the module on first use.
  bool Started = false;
  // Shut-down has run: nothing starts the module again until it is loaded anew.
  bool Ended = false;
  std::string ModuleDir;  // folder of this module, with trailing delimiter
  std::string IniDir;     // folder of the host's suggested settings file, with trailing delimiter
  bool OSIsNT = false;
  uint8_t Language = kEnglish;
  // The valid definitions, in the order their files were found. While the database is built,
  // TweakPos is the 1-based number of the record being filled; afterwards the count.
  std::vector<TTWREC> TweakTable;
  int32_t TweakPos = 0;
  // The single listing object: made at start-up, opened by the first listing, freed at unload.
  // Shared, so that a copy of the state (a test's snapshot) still means the same listing.
  std::shared_ptr<TXARC> XArc;
  // The searches through it that the host has open, each with its own position.
  OpenSearches Searches;
  // The TweakTable index of the tweak the apply dialog shows.
  int32_t CurrentTweak = -1;
  // What the panel's columns read states through (made at first use by PanelReads(),
  // listing.h); forgotten at every Save and every listing.
  std::shared_ptr<StateReadCache> Reads;
  // The host's main window, as FsExecuteFile was last given it: where the panel's reread
  // command goes after a Save.
  void* HostWindow = nullptr;
  // What the panel's columns read the user's recorded choices through (made at first use by
  // PanelChoices(), listing.h); forgotten at every Save and every listing.
  std::shared_ptr<ChoicesCache> Choices;
};

PluginState& State();
void ResetState();

}  // namespace qzr
