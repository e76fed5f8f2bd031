// The module's life as the host sees it: start-up on load, the three configuring calls, and
// shut-down on unload.
#pragma once
#include <string>

namespace qzr {

// Library attach: OS family, module folder, the unopened listing.
void Startup();
// Library detach: frees the listing, saves the language, releases the tweak table.
void Shutdown();
// FsSetDefaultParams: IniDir from the host's suggested settings file, then the language.
void SetDefaultParams(const std::string& defaultIniName);
// FsGetDefRootName: the root name cut to maxlen - 1 characters and a zero byte.
void CopyRootName(char* buffer, int maxlen);
// Shows "QZR_TC: I must have write access to %s".
void ShowNeedWriteAccess(const std::string& folder);

}  // namespace qzr
