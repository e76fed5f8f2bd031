// Loading this module's resources.
#include "ui/win32/module_resources.h"

#include <commctrl.h>

#include "ui/win32/resource_ids.h"

namespace qzr::ui {

HINSTANCE ThisModule() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &self);
  return self;
}

Bitmap LoadModuleBitmap(const char* name) {
  return Bitmap(static_cast<HBITMAP>(LoadImageA(ThisModule(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

VisualStylesScope::VisualStylesScope() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(ThisModule(), path, MAX_PATH);
  ACTCTXW actx{};
  actx.cbSize = sizeof actx;
  actx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  actx.lpSource = path;
  actx.hModule = ThisModule();
  actx.lpResourceName = MAKEINTRESOURCEW(QZR_MANIFEST_ID);
  context_ = CreateActCtxW(&actx);
  if (context_ != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context_, &cookie_) != FALSE;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
}

VisualStylesScope::~VisualStylesScope() {
  if (active_) DeactivateActCtx(0, cookie_);
  if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
}

}  // namespace qzr::ui
