// The command's summary text.
#include "commands/command_summary.h"

#include "platform/platform.h"
#include "texts/admin_texts.h"
#include "texts/command_texts.h"
#include "util/text.h"

namespace qzr {
namespace {

void AddLines(std::string& text, const std::vector<std::string>& lines, size_t shown, uint8_t language) {
  for (size_t i = 0; i < lines.size() && i < shown; ++i) text += "\n" + lines[i];
  if (lines.size() > shown)
    text += "\n" + Format(texts::kAndMore.Pick(language), {std::to_string(lines.size() - shown)});
}

}  // namespace

void CommandSummary::Refused(const std::string& tweakName, const std::string& reason) {
  refusals_.push_back(Os().system->AnsiToUtf8(tweakName) + ": " + reason);
}

void CommandSummary::AsAdministrator(const std::string& tweakName) {
  asAdministrator_.push_back(Os().system->AnsiToUtf8(tweakName));
}

std::string CommandSummary::Text(std::string_view word) const {
  const int skipped = skippedTyped_ + skippedNoDefault_;
  std::string text = Format(texts::kCommandCounts.Pick(language_),
                            {word, std::to_string(switched_), std::to_string(skipped), std::to_string(RefusedCount())});
  if (alreadyChosen_ > 0) text += "\n" + Format(texts::kAlreadyChosen.Pick(language_), {std::to_string(alreadyChosen_)});
  if (skippedTyped_ > 0) text += "\n" + Format(texts::kSkippedTyped.Pick(language_), {std::to_string(skippedTyped_)});
  if (skippedNoDefault_ > 0)
    text += "\n" + Format(texts::kSkippedNoDefault.Pick(language_), {std::to_string(skippedNoDefault_)});
  if (!asAdministrator_.empty()) {
    text += "\n" + std::string(texts::kAppliedAsAdministrator.Pick(language_));
    AddLines(text, asAdministrator_, kShownNotes, language_);
  }
  if (!refusals_.empty()) {
    text += "\n" + std::string(texts::kRefusedHeading.Pick(language_));
    AddLines(text, refusals_, kShownRefusals, language_);
  }
  AddLines(text, notes_, kShownNotes, language_);
  return text;
}

std::string CommandSummary::NotesText() const {
  std::string text;
  AddLines(text, notes_, kShownNotes, language_);
  return text.empty() ? text : text.substr(1);
}

}  // namespace qzr
