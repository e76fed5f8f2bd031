// The content entry points as the host calls them; content_exports.cpp defines them, and tests
// that link the entry points in call them through these declarations.
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
