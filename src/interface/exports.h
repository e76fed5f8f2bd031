// The module's entry points as the host calls them, narrow and wide; exports.cpp and
// exports_wide.cpp define them, and tests that link the entry points in call them through these
// declarations.
#pragma once
#include "interface/fsplugin.h"

QZR_EXPORT int DCPCALL FsInit(int PluginNr, qzr::host::tProgressProc pProgressProc, qzr::host::tLogProc pLogProc,
                              qzr::host::tRequestProc pRequestProc);
QZR_EXPORT void DCPCALL FsSetDefaultParams(qzr::host::FsDefaultParamStruct* dps);
QZR_EXPORT void DCPCALL FsGetDefRootName(char* DefRootName, int maxlen);
QZR_EXPORT void* DCPCALL FsFindFirst(char* Path, qzr::host::FindData* FindData);
QZR_EXPORT int DCPCALL FsFindNext(void* Hdl, qzr::host::FindData* FindData);
QZR_EXPORT int DCPCALL FsFindClose(void* Hdl);
QZR_EXPORT int DCPCALL FsGetFile(char* RemoteName, char* LocalName, int CopyFlags, void* RemoteInfo);
QZR_EXPORT int DCPCALL FsPutFile(char* LocalName, char* RemoteName, int CopyFlags);
QZR_EXPORT int DCPCALL FsDeleteFile(char* RemoteName);
QZR_EXPORT int DCPCALL FsExtractCustomIcon(char* RemoteName, int ExtractFlags, void** TheIcon);
QZR_EXPORT int DCPCALL FsExecuteFile(void* MainWin, char* RemoteName, char* Verb);

QZR_EXPORT int DCPCALL FsInitW(int PluginNr, qzr::host::tProgressProcW pProgressProcW, qzr::host::tLogProcW pLogProcW,
                               qzr::host::tRequestProcW pRequestProcW);
QZR_EXPORT void* DCPCALL FsFindFirstW(char16_t* Path, qzr::host::FindDataW* FindData);
QZR_EXPORT int DCPCALL FsFindNextW(void* Hdl, qzr::host::FindDataW* FindData);
QZR_EXPORT int DCPCALL FsGetFileW(char16_t* RemoteName, char16_t* LocalName, int CopyFlags, void* RemoteInfo);
QZR_EXPORT int DCPCALL FsPutFileW(char16_t* LocalName, char16_t* RemoteName, int CopyFlags);
QZR_EXPORT int DCPCALL FsDeleteFileW(char16_t* RemoteName);
QZR_EXPORT int DCPCALL FsExtractCustomIconW(char16_t* RemoteName, int ExtractFlags, void** TheIcon);
QZR_EXPORT int DCPCALL FsExecuteFileW(void* MainWin, char16_t* RemoteName, char16_t* Verb);
