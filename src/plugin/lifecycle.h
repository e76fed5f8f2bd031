// The module's life as the host sees it: start-up at the first entry point, the three
// configuring calls, the language kept when the user chooses it, and shut-down on unload.
#pragma once
#include <cstdint>
#include <string>

namespace qzr {

// Runs start-up once per load, from whichever entry point comes first and on any thread. Never
// from library attach: there Windows holds the loader lock, under which the registry (the OS
// probe) must not be touched.
void EnsureStarted();
// Start-up itself: OS family, module folder, the unopened listing.
void Startup();
// Library detach: frees the listing, saves the language, releases the tweak table. Runs once per
// start-up and shows nothing: it runs while the module unloads, where no window may be made.
void Shutdown();
// FsSetDefaultParams: IniDir from the host's suggested settings file, then the language.
void SetDefaultParams(const std::string& defaultIniName);
// The interface language, as any thread may read it (the panel's columns read it from the
// host's background threads; the dialogs work on a copy and hand a choice to ChooseLanguage).
uint8_t InterfaceLanguage();
// A flag button chose `language`: it becomes the interface language and is kept at once.
void ChooseLanguage(uint8_t language);
// Writes the interface language to qzrtc.ini now, so a host that never unloads the module
// cleanly keeps it too. A settings folder without write access says so.
void KeepLanguage();
// FsGetDefRootName: the root name cut to maxlen - 1 characters and a zero byte.
void CopyRootName(char* buffer, int maxlen);
// Shows "QZR_TC: I must have write access to %s".
void ShowNeedWriteAccess(const std::string& folder);

}  // namespace qzr
