// The panel's columns as the host's content functions ask for them: the field list, each
// field's value for a listed name, the bulk change of State, and the default view. The exports
// (src/interface/) turn the plain answers here into the host's codes and buffers.
#pragma once
#include <optional>
#include <string>

namespace qzr {

// Fields in the order the host numbers them. New ones go at the end: hosts keep a column by its
// number in their settings.
enum class ContentField { kState, kDefault, kIsDefault, kStore, kLocation, kChosen, kReverted, kTakesEffect };
inline constexpr int kContentFieldCount = 8;

// How a field is declared to the host.
enum class FieldKind { kChoice, kText, kBoolean };

struct SupportedField {
  const char* Name;     // English in every language: hosts keep it in their column settings
  std::string Choices;  // State's yes and no texts ("Yes|No" in the interface language), UTF-8
  FieldKind Kind;
};

// FsContentGetSupportedField: the field at `index`, none past the last one.
std::optional<SupportedField> FieldAt(int index);
// Whether the host may change the field through FsContentSetValue (State only; see SetFieldValue).
bool FieldEditable(int index);

// A field's value as the interface hands it to the host.
enum class AnswerKind {
  kText,         // Text
  kChoiceText,   // Text, one of the field's choices
  kBoolean,      // Flag
  kEmpty,        // no value: the host shows nothing
  kNotATweak,    // ".", ".." or no name: shown empty, whatever buffer the host gave
  kFileError,    // a name the listing does not hold, or a state that cannot be read
  kNoSuchField,
};
struct FieldAnswer {
  AnswerKind Kind = AnswerKind::kEmpty;
  std::string Text;  // UTF-8
  bool Flag = false;
};

// FsContentGetValue for "\Name." (ANSI, as the listing names tweaks). Chosen is the user's last
// choice from the choices file (empty when there is none), Reverted whether the live state no
// longer shows it (false when there is none); the choices file is read once per listing, however
// many fields are asked. Takes effect is when a change of the setting shows ("at once", "Explorer
// restart", ...), from the table of setting effects. A text the tweak leaves empty is kEmpty.
FieldAnswer GetFieldValue(const std::string& remoteName, int index);

// What the host sets a field to: a boolean, or a text in the ANSI code page; neither when the
// host passed no value, or a wide text that has no ANSI form.
struct FieldInput {
  std::optional<bool> Flag;
  std::optional<std::string> AnsiText;
};
enum class SetOutcome { kDone, kNoSuchField, kRefused };

// FsContentSetValue: State set to the yes or no text switches the tweak through Save. Total
// Commander's change of attributes calls it once per file and field, then once with a null name
// (and field -1) to end the operation (EndFieldChange). State being the only field it can set,
// every call is both the first and the last attribute of its file, so the flags that say so
// change nothing: each call saves at once. Refused for a tweak typed by hand, a text that is
// neither choice, or a Save that was refused (its message shown once per operation: the host
// reports every refused file itself).
SetOutcome SetFieldValue(const std::string& remoteName, int index, const FieldInput& input);
// The end of the change: the one question and import for changes refused for lack of rights,
// the panel reread once when something changed, and the setting notices.
void EndFieldChange();

// FsContentGetDefaultView: Name, State, Default and Location. UTF-8.
struct DefaultView {
  std::string Contents, Headers, Widths, Options;
};
DefaultView GetDefaultView();

}  // namespace qzr
