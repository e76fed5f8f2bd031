// The exported wide entry points: the twins of the narrow ones (exports.cpp) with UTF-16 names,
// paths and verbs, each the same function under the other character type (file_calls.h). Both
// hosts call these whenever they are exported.
#include "interface/exports.h"
#include "interface/file_calls.h"

using namespace qzr;
using namespace qzr::host;

QZR_EXPORT int DCPCALL FsInitW(int /*PluginNr*/, tProgressProcW /*pProgressProcW*/, tLogProcW /*pLogProcW*/,
                               tRequestProcW /*pRequestProcW*/) {
  return Entry(0, [] { return 0; });
}

QZR_EXPORT void* DCPCALL FsFindFirstW(char16_t* /*Path*/, FindDataW* FindData) { return FindFirstCall(FindData); }

QZR_EXPORT int DCPCALL FsFindNextW(void* Hdl, FindDataW* FindData) { return FindNextCall(Hdl, FindData); }

QZR_EXPORT int DCPCALL FsGetFileW(char16_t* RemoteName, char16_t* LocalName, int /*CopyFlags*/,
                                  void* /*RemoteInfo*/) {
  return GetFileCall<char16_t>(RemoteName, LocalName);
}

QZR_EXPORT int DCPCALL FsPutFileW(char16_t* /*LocalName*/, char16_t* /*RemoteName*/, int /*CopyFlags*/) {
  return kFsFileOk;
}

QZR_EXPORT int DCPCALL FsDeleteFileW(char16_t* /*RemoteName*/) { return 0; }

QZR_EXPORT int DCPCALL FsExtractCustomIconW(char16_t* RemoteName, int /*ExtractFlags*/, void** TheIcon) {
  return ExtractIconCall<char16_t>(RemoteName, TheIcon);
}

QZR_EXPORT int DCPCALL FsExecuteFileW(void* MainWin, char16_t* RemoteName, char16_t* Verb) {
  return ExecuteCall<char16_t>(MainWin, RemoteName, Verb);
}
