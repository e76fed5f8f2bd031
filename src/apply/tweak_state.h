// A tweak's live state when it is opened: its current value read through the store of its kind,
// whether that means "on", whether the default would be "on", and what the apply dialog shows.
#pragma once
#include <cstdint>

#include "apply/dialog_state.h"
#include "definitions/tweak_record.h"
#include "platform/profile_api.h"

namespace qzr {

class TCFG;

// Found; the registry key or INI section is missing; the key or section is there without the value.
enum class ReadState { kFound, kKeyMissing, kValueMissing };

struct CurrentValue {
  ReadState State = ReadState::kKeyMissing;
  TweakValue Value;  // a missing value reads as the default; a missing key as nothing
};

// Reads the setting behind a REG, INI or CFG tweak (nothing for another plug type). Opening a
// CFG tweak creates its file when it is missing; that may raise ShownError.
CurrentValue ReadCurrentValue(const TTWREC& tweak);

// The file behind an INI or CFG tweak as path text: the definition names it in the ANSI code page.
std::string TweakFilePath(const TTWREC& tweak);

// The three readings ReadCurrentValue chooses from, for readers that bring their own sources
// (the panel's columns read through a cache and never create anything). The registry is read
// with read rights only.
CurrentValue ReadRegistryValue(const TTWREC& tweak);
CurrentValue ReadIniValue(const TTWREC& tweak, ProfileApi& profile);
CurrentValue ReadCfgValue(const TTWREC& tweak, const TCFG& cfg);

// Two values as the on-test compares them: integers by value, texts byte for byte, BIN values by
// their first DataSize bytes. Nothing equals nothing.
bool ValuesEqual(const TweakValue& a, const TweakValue& b, const TTWREC& tweak);
// Whether the setting is on now.
bool IsOn(const TTWREC& tweak, const CurrentValue& current);
// Whether the default state is the on state.
bool DefaultIsOn(const TTWREC& tweak);

// What the apply dialog opens with, the yes/no texts in `language`.
ApplyDialogState MakeApplyDialogState(const TTWREC& tweak, const CurrentValue& current, uint8_t language);

}  // namespace qzr
