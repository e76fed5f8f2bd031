// The undo folder qzr_undo beside the plugin database: one file per change, named so that a
// listing by name is in time order and shows the tweak ("20261208-143501 Explorer - Show
// extensions.reg"), each with its line in the folder's descript.ion. The newest kMaxUndoFiles
// are kept; older ones are deleted, oldest first. A file of the user's is never one of them: only
// a file of a name of this form with a descript.ion line counts.
#pragma once
#include <cstddef>
#include <string>

#include "platform/system_api.h"

namespace qzr {

// A thousand changes reach back months for anyone who tweaks by hand, and the folder stays small
// enough for the file manager to list at once.
inline constexpr size_t kMaxUndoFiles = 1000;

// IniDir + "qzr_undo" + delimiter.
std::string UndoFolder(const std::string& iniDir);

// "2026-12-08 14:35:01": the time a change was made, as its descriptions give it.
std::string UndoTimeText(const LocalTime& when);

struct UndoFile {
  std::string TweakName;    // shown in the name; characters no file name may hold become "_"
  std::string Extension;    // without the dot
  std::string Content;      // the exact bytes
  std::string Description;  // its descript.ion line, without the name
};

// Writes the file into `folder` (made when missing) under a name no other file has (made
// exclusively: two hosts sharing the folder never write over each other's), adds its
// descript.ion line, then deletes the oldest files beyond kMaxUndoFiles (never this one).
// Returns the file's path. Raises ShownError "Unable to write to <path>" when the file or its line cannot be
// written in full; nothing of it is left behind then.
std::string WriteUndoFile(const std::string& folder, const UndoFile& file, const LocalTime& when);

// Takes back a file WriteUndoFile wrote, with its descript.ion line: for a change that never
// happened. What cannot be removed stays.
void WithdrawUndoFile(const std::string& path);

}  // namespace qzr
