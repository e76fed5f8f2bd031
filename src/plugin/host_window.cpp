// The host window and its reread command.
#include "plugin/host_window.h"

#include <mutex>

#include "platform/platform.h"
#include "interface/fsplugin.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"

namespace qzr {

void RememberHostWindow(void* window) {
  std::lock_guard lock(ListingLock());
  if (window) State().HostWindow = window;
}

void RereadHostPanel() {
  void* window = nullptr;
  {
    std::lock_guard lock(ListingLock());
    window = State().HostWindow;
  }
  UiApi& ui = *Os().ui;
  if (window && ui.WindowClassName(window) == host::kTcMainWindowClass)
    ui.PostToWindow(window, host::kTcCommandMessage, host::kTcRereadSource, 0);
}

void* HostWindow() {
  std::lock_guard lock(ListingLock());
  return State().HostWindow;
}

}  // namespace qzr
