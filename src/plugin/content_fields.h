// The panel's columns as the host's content functions ask for them: the field list, each
// field's value for a listed name, the bulk change of State, and the default view. The exports
// (content_exports.cpp) only pass their arguments on; answers are the interface's codes.
#pragma once
#include <string>

namespace qzr {

// Fields in the order the host numbers them. New ones go at the end: hosts keep a column by its
// number in their settings.
enum class ContentField { kState, kDefault, kIsDefault, kStore, kLocation, kChosen, kReverted, kTakesEffect };
inline constexpr int kContentFieldCount = 8;

// FsContentGetSupportedField: the field's name, and for State the choices ("Yes|No" in the
// interface language) in `units`; ft_nomorefields past the last one.
int GetSupportedField(int index, char* name, char* units, int maxlen);
// FsContentGetSupportedFieldFlags: State can be changed (switches only: see SetFieldValue); -1
// answers the flags of all fields together.
int GetSupportedFieldFlags(int index);
// FsContentGetValue for "\Name.": the field's type with the value in `value` (text cut to
// maxlen - 1 bytes and a zero; a boolean as a 32-bit 0 or 1), ft_fieldempty for "." and "..",
// ft_fileerror for a name the listing does not hold or a state that cannot be read. Chosen is
// the user's last choice from the choices file (ft_fieldempty when there is none), Reverted
// whether the live state no longer shows it (false when there is none); the choices file is
// read once per listing, however many fields are asked. Takes effect is when a change of the
// setting shows ("at once", "Explorer restart", ...), from the table of setting effects.
int GetFieldValue(const std::string& remoteName, int index, void* value, int maxlen);
// FsContentSetValue: State set to the yes or no text switches the tweak through Save. Total
// Commander's change of attributes calls it once per file and field, then once with a null name
// (and field -1) to end the operation. State being the only field it can set, every call is
// both the first and the last attribute of its file, so the flags that say so change nothing:
// each call saves at once. The end rereads the panel once, when something changed. ft_fileerror
// for a tweak typed by hand, a text that is neither choice, or a Save that was refused (its
// message shown once per operation: the host reports every refused file itself).
int SetFieldValue(const char* remoteName, int index, int fieldType, const void* value);
// FsContentGetDefaultView: Name, State, Default and Location.
bool GetDefaultView(char* contents, char* headers, char* widths, char* options, int maxlen);

}  // namespace qzr
