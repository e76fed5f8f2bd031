// The narrow content entry points: the panel's columns, their bulk change, the default view, and
// the attribute call the host's change dialog needs to offer the columns at all. Those with a
// wide twin share its function (content_calls.h).
#include <string>

#include "interface/content_calls.h"
#include "interface/content_exports.h"
#include "interface/entry.h"

using namespace qzr;
using namespace qzr::host;

namespace {

int FieldType(FieldKind kind) {
  switch (kind) {
    case FieldKind::kChoice: return kFtMultipleChoice;
    case FieldKind::kBoolean: return kFtBoolean;
    case FieldKind::kText: break;
  }
  return kFtString;
}

}  // namespace

// The field's name, and for State its choices in `Units`. There is no wide twin: the host reads
// names and choices as ANSI text.
QZR_EXPORT int DCPCALL FsContentGetSupportedField(int FieldIndex, char* FieldName, char* Units, int maxlen) {
  return Entry(kFtNoMoreFields, [&] {
    const std::optional<SupportedField> field = FieldAt(FieldIndex);
    if (!field) return kFtNoMoreFields;
    FillText(FieldName, maxlen, std::string(field->Name));
    FillText(Units, maxlen, HostChars<char>::TextOut(field->Choices));
    return FieldType(field->Kind);
  });
}

// -1 asks for the flags of all fields together: the host asks that first, and on 0 it never asks
// again and offers no field in its change of attributes.
QZR_EXPORT int DCPCALL FsContentGetSupportedFieldFlags(int FieldIndex) {
  return Entry(0, [&] {
    if (FieldIndex != -1) return FieldEditable(FieldIndex) ? kContFlagsEdit : 0;
    int all = 0;
    for (int i = 0; FieldAt(i); ++i) all |= FieldEditable(i) ? kContFlagsEdit : 0;
    return all;
  });
}

QZR_EXPORT int DCPCALL FsContentGetValue(char* FileName, int FieldIndex, int /*UnitIndex*/, void* FieldValue,
                                         int maxlen, int /*flags*/) {
  return GetValueCall<char>(FileName, FieldIndex, FieldValue, maxlen);
}

QZR_EXPORT int DCPCALL FsContentSetValue(char* FileName, int FieldIndex, int /*UnitIndex*/, int FieldType,
                                         void* FieldValue, int /*flags*/) {
  return SetValueCall<char>(FileName, FieldIndex, FieldType, FieldValue);
}

QZR_EXPORT int DCPCALL FsContentGetDefaultView(char* ViewContents, char* ViewHeaders, char* ViewWidths,
                                               char* ViewOptions, int maxlen) {
  return DefaultViewCall<char>(ViewContents, ViewHeaders, ViewWidths, ViewOptions, maxlen);
}

// Tweaks have no attributes to change; answering success keeps the host's change dialog quiet
// while it sets the columns.
QZR_EXPORT int DCPCALL FsSetAttr(char* /*RemoteName*/, int /*NewAttr*/) {
  return Entry(1, [] { return 1; });
}
