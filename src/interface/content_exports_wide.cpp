// The wide content entry points: the twins of content_exports.cpp, the same functions under
// UTF-16 (content_calls.h).
#include "interface/content_calls.h"
#include "interface/content_exports.h"

using namespace qzr;
using namespace qzr::host;

QZR_EXPORT int DCPCALL FsContentGetValueW(char16_t* FileName, int FieldIndex, int /*UnitIndex*/, void* FieldValue,
                                          int maxlen, int /*flags*/) {
  return GetValueCall<char16_t>(FileName, FieldIndex, FieldValue, maxlen);
}

QZR_EXPORT int DCPCALL FsContentSetValueW(char16_t* FileName, int FieldIndex, int /*UnitIndex*/, int FieldType,
                                          void* FieldValue, int /*flags*/) {
  return SetValueCall<char16_t>(FileName, FieldIndex, FieldType, FieldValue);
}

QZR_EXPORT int DCPCALL FsContentGetDefaultViewW(char16_t* ViewContents, char16_t* ViewHeaders, char16_t* ViewWidths,
                                                char16_t* ViewOptions, int maxlen) {
  return DefaultViewCall<char16_t>(ViewContents, ViewHeaders, ViewWidths, ViewOptions, maxlen);
}

QZR_EXPORT int DCPCALL FsSetAttrW(char16_t* /*RemoteName*/, int /*NewAttr*/) {
  return Entry(1, [] { return 1; });
}
