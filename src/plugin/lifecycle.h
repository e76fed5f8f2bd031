// The module's life as the host sees it: start-up at the first entry point, the three
// configuring calls, the language kept when the user chooses it, and shut-down on unload.
#pragma once
#include <cstdint>
#include <string>

namespace qzr {

// Runs start-up once per load, from whichever entry point comes first and on any thread. Never
// from library attach: there Windows holds the loader lock, under which the registry (the OS
// probe) must not be touched. False once shut-down has run: nothing starts the module again in
// the same load (a host thread still calling in at process exit).
bool EnsureStarted();
// One entry point's call, for as long as it runs: started as EnsureStarted starts, and counted,
// so that shut-down frees nothing while a call (a column read on a host thread) still uses it.
// False after shut-down: the call then answers its fallback and touches nothing.
class ModuleCall {
 public:
  ModuleCall();
  ~ModuleCall();
  ModuleCall(const ModuleCall&) = delete;
  ModuleCall& operator=(const ModuleCall&) = delete;
  explicit operator bool() const { return entered_; }

 private:
  bool entered_ = false;
};
// Start-up itself: OS family, module folder, the unopened listing.
void Startup();
// Library detach: saves the language and ends the load (no entry point starts the module again);
// then the listing, the tweak table and the rest are freed, with `alsoRelease` after them, at
// once or, while calls are still under way, when the last of them returns. Runs once per
// start-up and shows nothing: it runs while the module unloads, where no window may be made.
void Shutdown(void (*alsoRelease)() = nullptr);
// FsSetDefaultParams: IniDir from the host's suggested settings file (its ANSI name, as the
// export receives it; see settings_folder.h), then the language.
void SetDefaultParams(const std::string& defaultIniName);
// The interface language, as any thread may read it (the panel's columns read it from the
// host's background threads; the dialogs work on a copy and hand a choice to ChooseLanguage).
uint8_t InterfaceLanguage();
// A flag button chose `language`: it becomes the interface language and is kept at once.
void ChooseLanguage(uint8_t language);
// Writes the interface language to qzrtc.ini now, so a host that never unloads the module
// cleanly keeps it too. A settings folder without write access says so.
void KeepLanguage();
// Shows "QZR_TC: I must have write access to %s" for a folder given as path text.
void ShowNeedWriteAccess(const std::string& folder);

}  // namespace qzr
