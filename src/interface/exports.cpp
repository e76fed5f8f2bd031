// The exported entry points: each one a started, guarded call into the portable code.
#include <cstring>
#include <string>

#include "base/path_text.h"
#include "platform/platform.h"
#include "plugin/execute.h"
#include "interface/exports.h"
#include "plugin/file_ops.h"
#include "interface/find_record.h"
#include "interface/entry.h"
#include "plugin/host_window.h"
#include "plugin/icons.h"
#include "plugin/lifecycle.h"
#include "plugin/listing.h"

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
  EntryVoid([&] { CopyRootName(DefRootName, maxlen); });
}

QZR_EXPORT void* DCPCALL FsFindFirst(char* /*Path*/, FindData* FindData) {
  return Entry(reinterpret_cast<void*>(intptr_t{-1}), [&]() -> void* {
    if (!FindData) return reinterpret_cast<void*>(intptr_t{-1});
    FirstEntry first = FindFirstEntry();
    FillFindData(FindData, first.Entry);
    return first.Handle;
  });
}

QZR_EXPORT int DCPCALL FsFindNext(void* Hdl, FindData* FindData) {
  return Entry(0, [&] {
    if (!FindData) return 0;
    std::optional<ListedEntry> entry = FindNextEntry(Hdl);
    if (!entry) return 0;
    FillFindData(FindData, *entry);
    return -1;
  });
}

QZR_EXPORT int DCPCALL FsFindClose(void* Hdl) {
  return Entry(0, [&] { return CloseSearch(Hdl); });
}

QZR_EXPORT int DCPCALL FsGetFile(char* RemoteName, char* LocalName, int /*CopyFlags*/, void* /*RemoteInfo*/) {
  return Entry(kFsFileWriteError, [&] {
    if (!RemoteName || !LocalName) return kFsFileNotFound;
    switch (CopyReportOut(RemoteName, PathOfAnsi(LocalName))) {
      case CopyOutcome::kDone: return kFsFileOk;
      case CopyOutcome::kNotFound: return kFsFileNotFound;
      case CopyOutcome::kWriteError: return kFsFileWriteError;
    }
    return kFsFileWriteError;
  });
}

// Copying into the folder is accepted and ignored: tweaks come from definition files.
QZR_EXPORT int DCPCALL FsPutFile(char* /*LocalName*/, char* /*RemoteName*/, int /*CopyFlags*/) { return kFsFileOk; }

// Entries are never deleted from the panel.
QZR_EXPORT int DCPCALL FsDeleteFile(char* /*RemoteName*/) { return 0; }

QZR_EXPORT int DCPCALL FsExtractCustomIcon(char* RemoteName, int /*ExtractFlags*/, void** TheIcon) {
  return Entry(kFsIconUseDefault, [&] {
    if (!RemoteName || !TheIcon) return kFsIconUseDefault;
    const char* resource = IconResourceFor(RemoteName);
    void* icon = resource ? LoadSharedIcon(resource) : nullptr;
    if (!icon) return kFsIconUseDefault;
    *TheIcon = icon;
    return kFsIconExtracted;
  });
}

QZR_EXPORT int DCPCALL FsExecuteFile(void* MainWin, char* RemoteName, char* Verb) {
  return Entry(kFsExecOk, [&] {
    RememberHostWindow(MainWin);
    if (RemoteName && Verb) ExecuteFile(RemoteName, Os().system->AnsiToUtf8(Verb));
    return kFsExecOk;
  });
}
