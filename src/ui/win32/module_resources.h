// This module's own resources: the module handle, its icons and flag glyphs, and the activation
// context of its manifest, under which the dialogs get common controls 6.
#pragma once
#include <windows.h>

#include "ui/win32/gdi.h"

namespace qzr::ui {

// The module these dialogs are linked into (the plugin library, or a test program).
HINSTANCE ThisModule();

// A bitmap resource of this module, or null.
Bitmap LoadModuleBitmap(const char* name);

// Makes the module's manifest the active activation context for a scope, and registers the
// common controls under it. Without it, a library gets the host's controls.
class VisualStylesScope {
 public:
  VisualStylesScope();
  ~VisualStylesScope();
  VisualStylesScope(const VisualStylesScope&) = delete;
  VisualStylesScope& operator=(const VisualStylesScope&) = delete;

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

}  // namespace qzr::ui
