// The one message a command ends with: how many tweaks were switched, skipped and refused, the
// reasons of the first refusals, and notes on what the command could not use (a mask matching
// nothing, a profile line not understood). No box per tweak: a command over a hundred tweaks
// still ends with one message a person can read.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qzr {

// Refusals shown with their reasons; the rest are counted.
inline constexpr size_t kShownRefusals = 3;
// Notes shown; the rest are counted.
inline constexpr size_t kShownNotes = 8;

class CommandSummary {
 public:
  explicit CommandSummary(uint8_t language) : language_(language) {}

  void Switched() { ++switched_; }
  void SkippedTyped() { ++skippedTyped_; }
  void SkippedNoDefault() { ++skippedNoDefault_; }
  void AlreadyChosen() { ++alreadyChosen_; }
  // `tweakName` in the system's bytes, `reason` the UTF-8 text the dialog would show.
  void Refused(const std::string& tweakName, const std::string& reason);
  // A switched tweak whose change was made as administrator (also counted by Switched).
  void AsAdministrator(const std::string& tweakName);
  // A line of its own, UTF-8.
  void Note(std::string text) { notes_.push_back(std::move(text)); }

  int SwitchedCount() const { return switched_; }
  int AlreadyChosenCount() const { return alreadyChosen_; }
  int Handled() const { return switched_ + skippedTyped_ + skippedNoDefault_ + alreadyChosen_ + RefusedCount(); }

  // The counts under the command's word, then the details and the notes.
  std::string Text(std::string_view word) const;
  // The notes alone, each on a line of its own (empty when there are none).
  std::string NotesText() const;

 private:
  int RefusedCount() const { return static_cast<int>(refusals_.size()); }

  uint8_t language_;
  int switched_ = 0, skippedTyped_ = 0, skippedNoDefault_ = 0, alreadyChosen_ = 0;
  std::vector<std::string> refusals_;  // "name: reason", UTF-8
  std::vector<std::string> asAdministrator_;  // names, UTF-8
  std::vector<std::string> notes_;
};

}  // namespace qzr
