// The content fields over the listing, the read cache and Save.
#include "plugin/content_fields.h"

#include <cstdint>
#include <cstring>
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
#include "interface/fsplugin.h"
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

struct FieldSpec {
  const char* Name;  // English in every language: hosts keep it in their column settings
  int Type;
};

constexpr FieldSpec kFields[kContentFieldCount] = {
    {"State", host::kFtMultipleChoice}, {"Default", host::kFtString}, {"Is default", host::kFtBoolean},
    {"Store", host::kFtString},         {"Location", host::kFtString},     {"Chosen", host::kFtString},
    {"Reverted", host::kFtBoolean},     {"Takes effect", host::kFtString},
};

// Text into a host buffer of `size` bytes: cut to fit, always terminated.
void CopyText(char* buffer, int size, std::string_view text) {
  if (!buffer || size <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

int TextAnswer(void* value, int maxlen, const std::string& text, int type) {
  if (text.empty()) return host::kFtFieldEmpty;
  CopyText(static_cast<char*>(value), maxlen, text);
  return type;
}

int BooleanAnswer(void* value, int maxlen, bool flag) {
  if (maxlen < static_cast<int>(sizeof(int32_t))) return host::kFtFileError;
  const int32_t number = flag ? 1 : 0;
  std::memcpy(value, &number, sizeof number);
  return host::kFtBoolean;
}

uint8_t Language() { return InterfaceLanguage(); }

std::string Ansi(std::string_view utf8) { return Os().system->Utf8ToAnsi(std::string(utf8)); }

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

int EndBulkChange() {
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
  return host::kFtSetSuccess;
}

// Chosen and Reverted: the choice comes from the choices file as the panel's cache holds it, the
// live state (Reverted only) through the read cache the other columns use.
int ChoiceAnswer(const TTWREC& tweak, ContentField field, void* value, int maxlen) {
  const std::optional<ProfileState> chosen = PanelChoices().Chosen(ChoicesPath(State().IniDir), tweak.TweakName);
  if (field == ContentField::kChosen)
    return chosen ? TextAnswer(value, maxlen, ChosenFieldText(tweak, *chosen, Language()), host::kFtString)
                  : host::kFtFieldEmpty;
  if (!chosen) return BooleanAnswer(value, maxlen, false);
  try {
    return BooleanAnswer(value, maxlen, IsReverted(tweak, *chosen, PanelReads().Read(tweak)));
  } catch (const std::exception&) {
    return host::kFtFileError;
  }
}

}  // namespace

int GetSupportedField(int index, char* name, char* units, int maxlen) {
  if (index < 0 || index >= kContentFieldCount) return host::kFtNoMoreFields;
  CopyText(name, maxlen, kFields[index].Name);
  std::string choices;
  if (index == static_cast<int>(ContentField::kState))
    choices = Ansi(texts::kSwitchOn.Pick(Language())) + "|" + Ansi(texts::kSwitchOff.Pick(Language()));
  CopyText(units, maxlen, choices);
  return kFields[index].Type;
}

int GetSupportedFieldFlags(int index) {
  // -1 asks for the flags of all fields together: the host asks that first, and on 0 it never
  // asks again and offers no field in its change of attributes.
  if (index == -1) {
    int all = 0;
    for (int i = 0; i < kContentFieldCount; ++i) all |= GetSupportedFieldFlags(i);
    return all;
  }
  return index == static_cast<int>(ContentField::kState) ? host::kContFlagsEdit : 0;
}

int GetFieldValue(const std::string& remoteName, int index, void* value, int maxlen) {
  if (index < 0 || index >= kContentFieldCount) return host::kFtNoSuchField;
  const std::string name = FileNamePart(remoteName);
  if (name.empty() || name == "." || name == "..") return host::kFtFieldEmpty;
  const TTWREC* tweak = TweakAt(TweakIndexOf(remoteName));
  if (!tweak || !value || maxlen <= 0) return host::kFtFileError;
  const uint8_t language = Language();
  switch (static_cast<ContentField>(index)) {
    case ContentField::kDefault: return TextAnswer(value, maxlen, DefaultFieldText(*tweak, language), host::kFtString);
    case ContentField::kStore: return TextAnswer(value, maxlen, StoreFieldText(*tweak), host::kFtString);
    case ContentField::kLocation:
      return TextAnswer(value, maxlen, LocationFieldText(*tweak, language), host::kFtString);
    case ContentField::kChosen:
    case ContentField::kReverted: return ChoiceAnswer(*tweak, static_cast<ContentField>(index), value, maxlen);
    case ContentField::kTakesEffect:
      return TextAnswer(value, maxlen, Ansi(EffectTimingText(SettingEffectOf(*tweak).Timing, language)),
                        host::kFtString);
    case ContentField::kState:
    case ContentField::kIsDefault: break;
  }
  StateFields fields;
  try {
    fields = MakeStateFields(*tweak, PanelReads().Read(*tweak), language);
  } catch (const std::exception&) {
    return host::kFtFileError;  // a CFG file that is there but cannot be read
  }
  if (static_cast<ContentField>(index) == ContentField::kIsDefault) return BooleanAnswer(value, maxlen, fields.IsDefault);
  // A value typed by hand is no choice of the two: it goes as plain text.
  return TextAnswer(value, maxlen, fields.State, tweak->ByHands ? host::kFtString : host::kFtMultipleChoice);
}

int SetFieldValue(const char* remoteName, int index, int fieldType, const void* value) {
  if (!remoteName) return EndBulkChange();
  if (index != static_cast<int>(ContentField::kState)) return host::kFtNoSuchField;
  const TTWREC* tweak = TweakAt(TweakIndexOf(remoteName));
  if (!tweak || !value || tweak->ByHands) return host::kFtFileError;
  std::optional<int> choice;
  if (fieldType == host::kFtBoolean)
    choice = *static_cast<const int32_t*>(value) != 0 ? 0 : 1;
  else
    choice = SwitchChoiceOf(static_cast<const char*>(value));
  if (!choice) return host::kFtFileError;
  try {
    SaveTweakOfState(*tweak, *choice, std::string(), &BulkAdmin());
  } catch (const PutOffForRights&) {
    // Asked about once, at the end of the change; until then it stands refused.
    return host::kFtFileError;
  } catch (const std::exception& e) {
    bool show = false;
    {
      std::lock_guard lock(ListingLock());
      show = !std::exchange(Bulk().RefusalShown, true);
    }
    // As the dialog shows it, once: the host reports the other refused files itself.
    if (show) Os().ui->ShowMessage(e.what(), std::string(texts::kCaption));
    return host::kFtFileError;
  }
  std::lock_guard lock(ListingLock());
  Bulk().Changed = true;
  return host::kFtSetSuccess;
}

bool GetDefaultView(char* contents, char* headers, char* widths, char* options, int maxlen) {
  const uint8_t language = Language();
  // Items are separated by a backslash and "n", as the host's column settings write them.
  CopyText(contents, maxlen, "[=<fs>.State]\\n[=<fs>.Default]\\n[=<fs>.Location]");
  CopyText(headers, maxlen,
           Ansi(texts::kHeaderState.Pick(language)) + "\\n" + Ansi(texts::kHeaderDefault.Pick(language)) + "\\n" +
               Ansi(texts::kHeaderLocation.Pick(language)));
  // Name and extension first, then one width per header.
  CopyText(widths, maxlen, "250,20,60,70,400");
  // No automatic width, no horizontal scroll bar.
  CopyText(options, maxlen, "-1|0");
  return true;
}

}  // namespace qzr
