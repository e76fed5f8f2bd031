// The exported entry points: each one a guarded call into the portable code.
#include <cstring>
#include <string>

#include "core/lifecycle.h"
#include "plugin/fsplugin.h"
#include "plugin/guard.h"

using namespace qzr;
using namespace qzr::host;

QZR_EXPORT int DCPCALL FsInit(int /*PluginNr*/, tProgressProc /*pProgressProc*/, tLogProc /*pLogProc*/,
                              tRequestProc /*pRequestProc*/) {
  return 0;
}

QZR_EXPORT void DCPCALL FsSetDefaultParams(FsDefaultParamStruct* dps) {
  GuardedVoid([&] {
    if (!dps) return;
    SetDefaultParams(std::string(dps->DefaultIniName, strnlen(dps->DefaultIniName, kMaxPath)));
  });
}

QZR_EXPORT void DCPCALL FsGetDefRootName(char* DefRootName, int maxlen) {
  GuardedVoid([&] { CopyRootName(DefRootName, maxlen); });
}
