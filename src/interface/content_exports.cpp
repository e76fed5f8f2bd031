// The content entry points: the panel's columns, their bulk change, the default view, and the
// attribute call the host's change dialog needs to offer the columns at all.
#include <string>

#include "interface/content_exports.h"
#include "plugin/content_fields.h"
#include "interface/entry.h"

using namespace qzr;
using namespace qzr::host;

QZR_EXPORT int DCPCALL FsContentGetSupportedField(int FieldIndex, char* FieldName, char* Units, int maxlen) {
  return Entry(kFtNoMoreFields, [&] { return GetSupportedField(FieldIndex, FieldName, Units, maxlen); });
}

QZR_EXPORT int DCPCALL FsContentGetSupportedFieldFlags(int FieldIndex) {
  return Entry(0, [&] { return GetSupportedFieldFlags(FieldIndex); });
}

QZR_EXPORT int DCPCALL FsContentGetValue(char* FileName, int FieldIndex, int /*UnitIndex*/, void* FieldValue,
                                         int maxlen, int /*flags*/) {
  return Entry(kFtFileError, [&] {
    if (!FileName) return kFtFileError;
    return GetFieldValue(FileName, FieldIndex, FieldValue, maxlen);
  });
}

QZR_EXPORT int DCPCALL FsContentSetValue(char* FileName, int FieldIndex, int /*UnitIndex*/, int FieldType,
                                         void* FieldValue, int /*flags*/) {
  return Entry(kFtFileError, [&] { return SetFieldValue(FileName, FieldIndex, FieldType, FieldValue); });
}

QZR_EXPORT int DCPCALL FsContentGetDefaultView(char* ViewContents, char* ViewHeaders, char* ViewWidths,
                                               char* ViewOptions, int maxlen) {
  return Entry(0, [&] { return GetDefaultView(ViewContents, ViewHeaders, ViewWidths, ViewOptions, maxlen) ? 1 : 0; });
}

// Tweaks have no attributes to change; answering success keeps the host's change dialog quiet
// while it sets the columns.
QZR_EXPORT int DCPCALL FsSetAttr(char* /*RemoteName*/, int /*NewAttr*/) {
  return Entry(1, [] { return 1; });
}
