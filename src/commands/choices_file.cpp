// The choices file: one line changed per Save, and read once per listing for the columns.
#include "commands/choices_file.h"

#include <shared_mutex>

#include "apply/undo_files.h"
#include "base/file_replace.h"
#include "platform/platform.h"
#include "qzr_version.h"
#include "util/no_destructor.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr char kChoicesName[] = "qzr_choices.txt";

// The file's bytes; nothing when it is there but cannot be read. A missing file holds nothing.
std::optional<std::string> ReadChoices(const std::string& path) {
  std::string bytes;
  std::shared_lock replacing(FileReplaceLock());  // a Save on another thread may replace it
  const long rc = Os().files->ReadWhole(path, &bytes);
  if (rc == win::kFileNotFound || rc == win::kPathNotFound) return std::string();
  if (rc != win::kSuccess) return std::nullopt;
  return bytes;
}

std::vector<std::string> Header() {
  return {"QZR_TC " QZR_VERSION_TEXT ": the plugin's record of your choices, the state each Save left a tweak in.",
          "It is a profile: \"apply\" sets every tweak as it is chosen here.",
          "Last written " + UndoTimeText(Os().system->Now()) + "."};
}

std::string NameKey(const std::string& name) { return Os().system->UpperCase(name); }

// Saves on the host's threads record one after the other: each reads the file and writes it whole.
std::mutex& RecordLock() {
  static NoDestructor<std::mutex> lock;
  return lock.get();
}

}  // namespace

std::string ChoicesPath(const std::string& iniDir) { return JoinPath(iniDir, kChoicesName); }

bool RecordChoice(const std::string& path, const ProfileEntry& entry) {
  std::lock_guard serial(RecordLock());
  // A file that is there but cannot be read is not written over: the other choices would go.
  const std::optional<std::string> bytes = ReadChoices(path);
  if (!bytes) return false;
  std::vector<ProfileEntry> entries = ParseProfile(*bytes).Entries;
  const std::string key = NameKey(entry.Name);
  bool placed = false;
  for (auto it = entries.begin(); it != entries.end();) {
    if (NameKey(it->Name) != key) {
      ++it;
    } else if (!placed) {
      *it++ = entry;
      placed = true;
    } else {
      it = entries.erase(it);  // a line a hand edit doubled
    }
  }
  if (!placed) entries.push_back(entry);
  std::vector<std::string> leftOut;
  const std::string text = FormatProfile(Header(), entries, &leftOut);
  for (const std::string& name : leftOut)
    if (NameKey(name) == key) return false;
  return ReplaceFileContents(path, text) == win::kSuccess;
}

std::optional<ProfileState> ChoicesCache::Chosen(const std::string& path, const std::string& tweakName) {
  std::lock_guard lock(mutex_);
  Load(path);
  const auto found = index_.find(NameKey(tweakName));
  if (found == index_.end()) return std::nullopt;
  return entries_[found->second].State;
}

std::vector<ProfileEntry> ChoicesCache::All(const std::string& path) {
  std::lock_guard lock(mutex_);
  Load(path);
  return entries_;
}

void ChoicesCache::Invalidate() {
  std::lock_guard lock(mutex_);
  loaded_ = false;
}

int64_t ChoicesCache::FileReads() const {
  std::lock_guard lock(mutex_);
  return reads_;
}

void ChoicesCache::Load(const std::string& path) {
  if (loaded_ && loadedPath_ == path) return;
  ++reads_;
  entries_ = ParseProfile(ReadChoices(path).value_or(std::string())).Entries;
  index_.clear();
  // A name a hand edit wrote twice counts as its last line, as applying the file would leave it.
  for (size_t i = 0; i < entries_.size(); ++i) index_[NameKey(entries_[i].Name)] = i;
  loadedPath_ = path;
  loaded_ = true;
}

}  // namespace qzr
