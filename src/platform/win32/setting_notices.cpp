// Win32: telling the running system that a setting changed: the WM_SETTINGCHANGE broadcast, the
// shell's associations notice, and SystemParametersInfoW.
#include <windows.h>
#include <shlobj.h>

#include "platform/win32/backends.h"
#include "platform/win32/wide.h"

namespace qzr::win32 {
namespace {

// Per window: a window that answers slower than this is left to read the message when it gets to
// it; SMTO_ABORTIFHUNG skips a hung one without waiting at all.
constexpr UINT kAnswerWaitMs = 200;

}  // namespace

void Ui::BroadcastSettingChange(const std::string& area) {
  const std::wstring text = Utf8ToWide(area);
  // Not SendNotifyMessageW: a message below WM_USER with a pointer (the text) is refused by the
  // asynchronous calls.
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                      area.empty() ? 0 : reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, kAnswerWaitMs,
                      &answer);
}

void Ui::NotifyAssociationsChanged() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

bool Ui::SetSystemParameter(uint32_t action, uint32_t uiParam, const std::vector<int32_t>& numbers) {
  std::vector<int> values(numbers.begin(), numbers.end());
  return SystemParametersInfoW(action, uiParam, values.empty() ? nullptr : values.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}

}  // namespace qzr::win32
