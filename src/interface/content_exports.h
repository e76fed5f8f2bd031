// The content entry points as the host calls them, narrow and wide; content_exports.cpp and
// content_exports_wide.cpp define them, and tests that link the entry points in call them
// through these declarations.
#pragma once
#include "interface/fsplugin.h"

QZR_EXPORT int DCPCALL FsContentGetSupportedField(int FieldIndex, char* FieldName, char* Units, int maxlen);
QZR_EXPORT int DCPCALL FsContentGetSupportedFieldFlags(int FieldIndex);
QZR_EXPORT int DCPCALL FsContentGetValue(char* FileName, int FieldIndex, int UnitIndex, void* FieldValue, int maxlen,
                                         int flags);
QZR_EXPORT int DCPCALL FsContentSetValue(char* FileName, int FieldIndex, int UnitIndex, int FieldType,
                                         void* FieldValue, int flags);
QZR_EXPORT int DCPCALL FsContentGetDefaultView(char* ViewContents, char* ViewHeaders, char* ViewWidths,
                                               char* ViewOptions, int maxlen);
QZR_EXPORT int DCPCALL FsSetAttr(char* RemoteName, int NewAttr);

QZR_EXPORT int DCPCALL FsContentGetValueW(char16_t* FileName, int FieldIndex, int UnitIndex, void* FieldValue,
                                          int maxlen, int flags);
QZR_EXPORT int DCPCALL FsContentSetValueW(char16_t* FileName, int FieldIndex, int UnitIndex, int FieldType,
                                          void* FieldValue, int flags);
QZR_EXPORT int DCPCALL FsContentGetDefaultViewW(char16_t* ViewContents, char16_t* ViewHeaders, char16_t* ViewWidths,
                                                char16_t* ViewOptions, int maxlen);
QZR_EXPORT int DCPCALL FsSetAttrW(char16_t* RemoteName, int NewAttr);
