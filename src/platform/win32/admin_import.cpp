// Win32: a registry file imported by the system's reg.exe, started elevated through the shell's
// "runas" (Windows shows its consent prompt over the host's window), and waited for.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/backends.h"
#include "platform/win32/win32_handles.h"

namespace qzr::win32 {
namespace {

// The file in the temp folder, deleted when the import is over (the handle that guards it is
// closed first: it is declared after this).
class TempFileName {
 public:
  TempFileName() {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, folder) && GetTempFileNameW(folder, L"qzr", 0, name)) name_ = name;
  }
  ~TempFileName() {
    if (!name_.empty()) DeleteFileW(name_.c_str());
  }
  TempFileName(const TempFileName&) = delete;
  TempFileName& operator=(const TempFileName&) = delete;
  const std::wstring& get() const { return name_; }

 private:
  std::wstring name_;
};

// Whether the system is 64-bit: this module is, or it runs under WOW64.
bool SystemIs64Bit() {
  if (sizeof(void*) == 8) return true;
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

long Written(const std::wstring& path, const std::string& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
  if (!file.valid()) return static_cast<long>(GetLastError());
  DWORD done = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) || done != bytes.size())
    return static_cast<long>(GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
  return ERROR_SUCCESS;
}

// The bytes the open file holds now.
bool Holds(HANDLE file, const std::string& bytes) {
  std::string read(bytes.size() + 1, '\0');
  DWORD done = 0;
  if (!ReadFile(file, read.data(), static_cast<DWORD>(read.size()), &done, nullptr)) return false;
  return read.compare(0, done, bytes) == 0 && done == bytes.size();
}

}  // namespace

long System::ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) {
  TempFileName path;
  if (path.get().empty()) return static_cast<long>(GetLastError());
  if (long rc = Written(path.get(), bytes); rc != ERROR_SUCCESS) return rc;
  // Opened again for reading and shared for reading only, until the import has ended: nothing
  // can change what runs elevated. The bytes are checked through this very handle, so a change
  // made between the write and this open is caught too.
  FileHandle guard(CreateFileW(path.get().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!guard.valid()) return static_cast<long>(GetLastError());
  if (!Holds(guard.get(), bytes)) return ERROR_WRITE_FAULT;

  // System32 by its name: the elevated start is made by the system's own 64-bit service, which
  // sees no 32-bit redirection; and /reg:64 puts the values into the 64-bit view whichever
  // reg.exe runs, the view the plugin reads.
  wchar_t system[MAX_PATH + 1] = {};
  if (!GetSystemDirectoryW(system, MAX_PATH + 1)) return static_cast<long>(GetLastError());
  const std::wstring program = std::wstring(system) + L"\\reg.exe";
  std::wstring parameters = L"import \"" + path.get() + L"\"";
  if (SystemIs64Bit()) parameters += L" /reg:64";

  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  run.hwnd = static_cast<HWND>(owner);
  run.lpVerb = L"runas";
  run.lpFile = program.c_str();
  run.lpParameters = parameters.c_str();
  run.nShow = SW_HIDE;
  if (!ShellExecuteExW(&run)) {
    // ERROR_CANCELLED when the user declined the consent prompt.
    const DWORD error = GetLastError();
    return static_cast<long>(error ? error : ERROR_GEN_FAILURE);
  }
  if (!run.hProcess) return ERROR_INVALID_HANDLE;
  FileHandle process(run.hProcess);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.get(), &exitCode)) return static_cast<long>(GetLastError());
  return static_cast<long>(exitCode);
}

}  // namespace qzr::win32
