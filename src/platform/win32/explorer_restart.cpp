// Win32: restarting the Explorer of this user in this session. It is ended through the Restart
// Manager, as installers end it: Explorer is asked to close as at the end of a session, saves its
// state and exits; nothing is killed (no RmForceShutdown), so an Explorer that refuses stays as it
// was. TerminateProcess would lose its state, and the tray window's private exit message is
// undocumented. The Restart Manager starts it again (Explorer registers itself for that); should
// it not, it is started here. Explorers of other users or sessions are never touched.
#include <windows.h>
#include <restartmanager.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "platform/win32/backends.h"
#include "platform/win32/win32_handles.h"

namespace qzr::win32 {
namespace {

using RmStartSessionFn = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RmRegisterResourcesFn = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
using RmShutdownFn = DWORD(WINAPI*)(DWORD, ULONG, RM_WRITE_STATUS_CALLBACK);
using RmRestartFn = DWORD(WINAPI*)(DWORD, DWORD, RM_WRITE_STATUS_CALLBACK);
using RmEndSessionFn = DWORD(WINAPI*)(DWORD);

std::wstring SystemFolder(UINT (WINAPI* get)(LPWSTR, UINT)) {
  wchar_t path[MAX_PATH] = {};
  UINT n = get(path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

// The Restart Manager's DLL, from the system folder only; none before Windows Vista.
class RestartManagerDll {
 public:
  RestartManagerDll() {
    const std::wstring folder = SystemFolder(GetSystemDirectoryW);
    if (!folder.empty()) module_ = LoadLibraryW((folder + L"\\rstrtmgr.dll").c_str());
  }
  ~RestartManagerDll() {
    if (module_) FreeLibrary(module_);
  }
  RestartManagerDll(const RestartManagerDll&) = delete;
  RestartManagerDll& operator=(const RestartManagerDll&) = delete;
  template <typename Function>
  Function Get(const char* name) const {
    FARPROC proc = module_ ? GetProcAddress(module_, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
  }

 private:
  HMODULE module_ = nullptr;
};

class RestartSession {
 public:
  RestartSession(RmEndSessionFn end, DWORD handle) : end_(end), handle_(handle) {}
  ~RestartSession() { end_(handle_); }
  RestartSession(const RestartSession&) = delete;
  RestartSession& operator=(const RestartSession&) = delete;

 private:
  RmEndSessionFn end_;
  DWORD handle_;
};

// The user a process runs as, as a SID's bytes; empty when it cannot be read.
std::vector<BYTE> ProcessUser(HANDLE process) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return {};
  FileHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> info(size);
  if (size == 0 || !GetTokenInformation(token.get(), TokenUser, info.data(), size, &size)) return {};
  PSID sid = reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid;
  const BYTE* bytes = static_cast<const BYTE*>(sid);
  return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

// Every explorer.exe of this user in this session, with its start time (the Restart Manager's
// name for a process, so that a reused process number names nothing).
std::vector<RM_UNIQUE_PROCESS> ExplorersOfThisUser() {
  std::vector<RM_UNIQUE_PROCESS> found;
  DWORD session = 0;
  if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) return found;
  const std::vector<BYTE> user = ProcessUser(GetCurrentProcess());
  FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (user.empty() || !snapshot.valid()) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    DWORD itsSession = 0;
    if (lstrcmpiW(entry.szExeFile, L"explorer.exe") != 0 || !ProcessIdToSessionId(entry.th32ProcessID, &itsSession) ||
        itsSession != session)
      continue;
    FileHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    FILETIME created{}, exited{}, kernel{}, userTime{};
    if (!process.valid() || ProcessUser(process.get()) != user ||
        !GetProcessTimes(process.get(), &created, &exited, &kernel, &userTime))
      continue;
    found.push_back(RM_UNIQUE_PROCESS{entry.th32ProcessID, created});
  }
  return found;
}

long StartExplorer() {
  const std::wstring folder = SystemFolder(GetWindowsDirectoryW);
  if (folder.empty()) return static_cast<long>(GetLastError());
  std::wstring command = L"\"" + folder + L"\\explorer.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &started))
    return static_cast<long>(GetLastError());
  FileHandle process(started.hProcess);
  FileHandle thread(started.hThread);
  return 0;
}

}  // namespace

long Ui::RestartExplorer() {
  std::vector<RM_UNIQUE_PROCESS> explorers = ExplorersOfThisUser();
  if (!explorers.empty()) {
    RestartManagerDll dll;
    auto start = dll.Get<RmStartSessionFn>("RmStartSession");
    auto enroll = dll.Get<RmRegisterResourcesFn>("RmRegisterResources");
    auto shutdown = dll.Get<RmShutdownFn>("RmShutdown");
    auto restart = dll.Get<RmRestartFn>("RmRestart");
    auto end = dll.Get<RmEndSessionFn>("RmEndSession");
    if (!start || !enroll || !shutdown || !restart || !end) return ERROR_NOT_SUPPORTED;
    DWORD handle = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (DWORD rc = start(&handle, 0, key)) return static_cast<long>(rc);
    RestartSession session(end, handle);
    if (DWORD rc = enroll(handle, 0, nullptr, static_cast<UINT>(explorers.size()), explorers.data(), 0, nullptr))
      return static_cast<long>(rc);
    if (DWORD rc = shutdown(handle, 0, nullptr)) return static_cast<long>(rc);
    restart(handle, 0, nullptr);
  }
  return ExplorersOfThisUser().empty() ? StartExplorer() : 0;
}

}  // namespace qzr::win32
