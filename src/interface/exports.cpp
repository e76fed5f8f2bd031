// The exported narrow entry points: each one a started, guarded call into the portable code, or
// into the one function it shares with its wide twin (file_calls.h).
#include <cstring>
#include <string>

#include "interface/entry.h"
#include "interface/exports.h"
#include "interface/file_calls.h"
#include "interface/text_buffer.h"
#include "plugin/lifecycle.h"
#include "texts/texts.h"

using namespace qzr;
using namespace qzr::host;

QZR_EXPORT int DCPCALL FsInit(int /*PluginNr*/, tProgressProc /*pProgressProc*/, tLogProc /*pLogProc*/,
                              tRequestProc /*pRequestProc*/) {
  return Entry(0, [] { return 0; });
}

QZR_EXPORT void DCPCALL FsSetDefaultParams(FsDefaultParamStruct* dps) {
  EntryVoid([&] {
    if (!dps) return;
    SetDefaultParams(std::string(dps->DefaultIniName, strnlen(dps->DefaultIniName, kMaxPath)));
  });
}

QZR_EXPORT void DCPCALL FsGetDefRootName(char* DefRootName, int maxlen) {
  EntryVoid([&] { FillText(DefRootName, maxlen, texts::kRootName); });
}

QZR_EXPORT void* DCPCALL FsFindFirst(char* /*Path*/, FindData* FindData) { return FindFirstCall(FindData); }

QZR_EXPORT int DCPCALL FsFindNext(void* Hdl, FindData* FindData) { return FindNextCall(Hdl, FindData); }

QZR_EXPORT int DCPCALL FsFindClose(void* Hdl) {
  return Entry(0, [&] { return CloseSearch(Hdl); });
}

QZR_EXPORT int DCPCALL FsGetFile(char* RemoteName, char* LocalName, int /*CopyFlags*/, void* /*RemoteInfo*/) {
  return GetFileCall<char>(RemoteName, LocalName);
}

// Copying into the folder is accepted and ignored: tweaks come from definition files.
QZR_EXPORT int DCPCALL FsPutFile(char* /*LocalName*/, char* /*RemoteName*/, int /*CopyFlags*/) { return kFsFileOk; }

// Entries are never deleted from the panel.
QZR_EXPORT int DCPCALL FsDeleteFile(char* /*RemoteName*/) { return 0; }

QZR_EXPORT int DCPCALL FsExtractCustomIcon(char* RemoteName, int /*ExtractFlags*/, void** TheIcon) {
  return ExtractIconCall<char>(RemoteName, TheIcon);
}

QZR_EXPORT int DCPCALL FsExecuteFile(void* MainWin, char* RemoteName, char* Verb) {
  return ExecuteCall<char>(MainWin, RemoteName, Verb);
}
