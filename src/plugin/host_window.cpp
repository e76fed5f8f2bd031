// The host window and its reread command.
#include "plugin/host_window.h"

#include <cstdint>
#include <mutex>

#include "platform/platform.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"

namespace qzr {
namespace {

// Total Commander's message to its main window that runs a command (WM_USER + 51), and the
// command that rereads the active panel (cm_RereadSource): a command of that host, not part of
// the plugin interface.
constexpr uint32_t kTcCommandMessage = 0x0400 + 51;
constexpr uintptr_t kTcRereadSource = 540;
// The class of Total Commander's main window: the only window that message is sent to.
constexpr const char* kTcMainWindowClass = "TTOTAL_CMD";

}  // namespace

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
  if (window && ui.WindowClassName(window) == kTcMainWindowClass)
    ui.PostToWindow(window, kTcCommandMessage, kTcRereadSource, 0);
}

void* HostWindow() {
  std::lock_guard lock(ListingLock());
  return State().HostWindow;
}

}  // namespace qzr
