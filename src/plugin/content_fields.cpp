// The content fields over the listing, the read cache and Save.
#include "plugin/content_fields.h"

#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

#include "apply/admin_import.h"
#include "apply/setting_effects.h"
#include "apply/tweak_fields.h"
#include "commands/choice_fields.h"
#include "commands/choices_file.h"
#include "platform/platform.h"
#include "plugin/admin_saves.h"
#include "plugin/host_window.h"
#include "plugin/lifecycle.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "plugin/setting_notices.h"
#include "plugin/tweak_saving.h"
#include "texts/admin_texts.h"
#include "texts/dialog_texts.h"
#include "texts/field_texts.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr std::pair<const char*, FieldKind> kFields[kContentFieldCount] = {
    {"State", FieldKind::kChoice},  {"Default", FieldKind::kText},  {"Is default", FieldKind::kBoolean},
    {"Store", FieldKind::kText},    {"Location", FieldKind::kText}, {"Chosen", FieldKind::kText},
    {"Reverted", FieldKind::kBoolean}, {"Takes effect", FieldKind::kText},
};

FieldAnswer Answer(AnswerKind kind, std::string text = std::string(), bool flag = false) {
  return FieldAnswer{kind, std::move(text), flag};
}
// A text answer; an empty text is no value.
FieldAnswer TextAnswer(std::string utf8, AnswerKind kind = AnswerKind::kText) {
  return utf8.empty() ? Answer(AnswerKind::kEmpty) : Answer(kind, std::move(utf8));
}
FieldAnswer BooleanAnswer(bool flag) { return Answer(AnswerKind::kBoolean, std::string(), flag); }

uint8_t Language() { return InterfaceLanguage(); }

// The host's change of attributes, from its first file to the null name that ends it.
struct BulkChange {
  bool Changed = false;
  bool RefusalShown = false;
};

BulkChange& Bulk() {
  static BulkChange bulk;
  return bulk;
}

// The change's machine-wide changes refused for lack of rights, made at its end.
AdminImport& BulkAdmin() {
  static AdminImport admin;
  return admin;
}

// One message after the import: which tweaks were then applied as administrator, which were
// still refused and why. The host has reported each of them as an error already; this says how
// it ended, in one box rather than one per file.
std::string AdminOutcomeText(const std::vector<ImportOutcome>& outcomes) {
  const uint8_t language = Language();
  std::string applied, refused;
  for (const ImportOutcome& outcome : outcomes) {
    const std::string name = Os().system->AnsiToUtf8(outcome.Tweak->TweakName);
    if (outcome.Applied)
      applied += "\n" + name;
    else
      refused += "\n" + name + ": " + outcome.Reason;
  }
  std::string text;
  if (!applied.empty()) text += std::string(texts::kAppliedAsAdministrator.Pick(language)) + applied;
  if (!refused.empty()) text += (text.empty() ? "" : "\n\n") + std::string(texts::kStillRefused.Pick(language)) + refused;
  return text;
}

}  // namespace

void EndFieldChange() {
  const std::vector<ImportOutcome> outcomes = FinishAdminImport(BulkAdmin());
  bool changed = false;
  {
    std::lock_guard lock(ListingLock());
    changed = std::exchange(Bulk(), BulkChange{}).Changed;
  }
  for (const ImportOutcome& outcome : outcomes) changed = changed || outcome.Applied;
  if (!outcomes.empty()) Os().ui->ShowMessage(AdminOutcomeText(outcomes), std::string(texts::kCaption));
  if (changed) RereadHostPanel();
  SendSettingNotices();
}

namespace {

// Chosen and Reverted: the choice comes from the choices file as the panel's cache holds it, the
// live state (Reverted only) through the read cache the other columns use.
FieldAnswer ChoiceAnswer(const TTWREC& tweak, ContentField field) {
  const std::optional<ProfileState> chosen = PanelChoices().Chosen(ChoicesPath(State().IniDir), tweak.TweakName);
  if (field == ContentField::kChosen)
    return chosen ? TextAnswer(ChosenFieldText(tweak, *chosen, Language())) : Answer(AnswerKind::kEmpty);
  if (!chosen) return BooleanAnswer(false);
  try {
    return BooleanAnswer(IsReverted(tweak, *chosen, PanelReads().Read(tweak)));
  } catch (const std::exception&) {
    return Answer(AnswerKind::kFileError);
  }
}

}  // namespace

std::optional<SupportedField> FieldAt(int index) {
  if (index < 0 || index >= kContentFieldCount) return std::nullopt;
  std::string choices;
  if (index == static_cast<int>(ContentField::kState))
    choices = std::string(texts::kSwitchOn.Pick(Language())) + "|" + std::string(texts::kSwitchOff.Pick(Language()));
  return SupportedField{kFields[index].first, std::move(choices), kFields[index].second};
}

bool FieldEditable(int index) { return index == static_cast<int>(ContentField::kState); }

FieldAnswer GetFieldValue(const std::string& remoteName, int index) {
  if (index < 0 || index >= kContentFieldCount) return Answer(AnswerKind::kNoSuchField);
  const std::string name = FileNamePart(remoteName);
  if (name.empty() || name == "." || name == "..") return Answer(AnswerKind::kNotATweak);
  const TTWREC* tweak = TweakAt(TweakIndexOf(remoteName));
  if (!tweak) return Answer(AnswerKind::kFileError);
  const uint8_t language = Language();
  switch (static_cast<ContentField>(index)) {
    case ContentField::kDefault: return TextAnswer(DefaultFieldText(*tweak, language));
    case ContentField::kStore: return TextAnswer(StoreFieldText(*tweak));
    case ContentField::kLocation: return TextAnswer(LocationFieldText(*tweak, language));
    case ContentField::kChosen:
    case ContentField::kReverted: return ChoiceAnswer(*tweak, static_cast<ContentField>(index));
    case ContentField::kTakesEffect:
      return TextAnswer(std::string(EffectTimingText(SettingEffectOf(*tweak).Timing, language)));
    case ContentField::kState:
    case ContentField::kIsDefault: break;
  }
  StateFields fields;
  try {
    fields = MakeStateFields(*tweak, PanelReads().Read(*tweak), language);
  } catch (const std::exception&) {
    return Answer(AnswerKind::kFileError);  // a CFG file that is there but cannot be read
  }
  if (static_cast<ContentField>(index) == ContentField::kIsDefault) return BooleanAnswer(fields.IsDefault);
  // A value typed by hand is no choice of the two: it goes as plain text.
  return TextAnswer(fields.State, tweak->ByHands ? AnswerKind::kText : AnswerKind::kChoiceText);
}

SetOutcome SetFieldValue(const std::string& remoteName, int index, const FieldInput& input) {
  if (index != static_cast<int>(ContentField::kState)) return SetOutcome::kNoSuchField;
  const TTWREC* tweak = TweakAt(TweakIndexOf(remoteName));
  if (!tweak || tweak->ByHands) return SetOutcome::kRefused;
  std::optional<int> choice;
  if (input.Flag)
    choice = *input.Flag ? 0 : 1;
  else if (input.AnsiText)
    choice = SwitchChoiceOf(*input.AnsiText);
  if (!choice) return SetOutcome::kRefused;
  try {
    SaveTweakOfState(*tweak, *choice, std::string(), &BulkAdmin());
  } catch (const PutOffForRights&) {
    // Asked about once, at the end of the change; until then it stands refused.
    return SetOutcome::kRefused;
  } catch (const std::exception& e) {
    bool show = false;
    {
      std::lock_guard lock(ListingLock());
      show = !std::exchange(Bulk().RefusalShown, true);
    }
    // As the dialog shows it, once: the host reports the other refused files itself.
    if (show) Os().ui->ShowMessage(e.what(), std::string(texts::kCaption));
    return SetOutcome::kRefused;
  }
  std::lock_guard lock(ListingLock());
  Bulk().Changed = true;
  return SetOutcome::kDone;
}

DefaultView GetDefaultView() {
  const uint8_t language = Language();
  DefaultView view;
  // Items are separated by a backslash and "n", as the host's column settings write them.
  view.Contents = "[=<fs>.State]\\n[=<fs>.Default]\\n[=<fs>.Location]";
  view.Headers = std::string(texts::kHeaderState.Pick(language)) + "\\n" +
                 std::string(texts::kHeaderDefault.Pick(language)) + "\\n" +
                 std::string(texts::kHeaderLocation.Pick(language));
  // Name and extension first, then one width per header.
  view.Widths = "250,20,60,70,400";
  // No automatic width, no horizontal scroll bar.
  view.Options = "-1|0";
  return view;
}

}  // namespace qzr
