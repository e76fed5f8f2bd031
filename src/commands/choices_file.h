// The user's own choices: the state each Save (the dialog, the panel's bulk change, a command)
// left a tweak in, kept in the profile format in qzr_choices.txt beside the settings file, so
// that the panel can show what Windows turned back (the Chosen and Reverted columns) and
// `reapply` can apply it again. `save` of the file is a profile.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "commands/profile_file.h"

namespace qzr {

// qzr_choices.txt in the settings folder (`iniDir` ends with the delimiter).
std::string ChoicesPath(const std::string& iniDir);

// Puts `entry` in the file in place of the tweak's earlier line (or as a new line), replacing the
// file whole (a failed write leaves the old one as it was). Answers false when the file could not
// be written; the Save it records has happened all the same.
bool RecordChoice(const std::string& path, const ProfileEntry& entry);

// How the panel's columns read the choices: the file is read once until Invalidate (every listing
// and every Save calls it), never once per field. Any thread may call it.
class ChoicesCache {
 public:
  // The tweak's recorded choice, nothing when the user never chose one (or the file is missing or
  // unreadable). Names compare as the listing's do (without regard to letter case).
  std::optional<ProfileState> Chosen(const std::string& path, const std::string& tweakName);
  // Every recorded choice, in file order.
  std::vector<ProfileEntry> All(const std::string& path);
  void Invalidate();
  // How often the file was read since the cache was made.
  int64_t FileReads() const;

 private:
  void Load(const std::string& path);

  mutable std::mutex mutex_;
  bool loaded_ = false;
  std::string loadedPath_;
  std::vector<ProfileEntry> entries_;
  std::map<std::string, size_t> index_;  // upper-cased name -> entries_ index
  int64_t reads_ = 0;
};

}  // namespace qzr
