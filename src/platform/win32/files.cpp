// Win32 file backend: the W calls, with path text converted at the call.
#include "platform/win32/backends.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/system_function.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_handles.h"
#include "util/text.h"

namespace qzr::win32 {
namespace {

// The 8-bit calls took paths of at most MAX_PATH characters (Wine: 260, the terminating zero
// not counted) and refused a longer one before touching anything. Windows' W calls do the same
// unless the host declares itself long-path aware; Wine's take any length. The limit stays, so
// every host on every system sees what it saw: nothing when the path is longer.
std::optional<std::wstring> Limited(const std::string& path) {
  std::wstring wide = WideOfPath(path);
  if (wide.size() <= 260) return wide;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return std::nullopt;
}

long WriteAll(HANDLE h, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(h, content.data() + done, chunk, &written, nullptr)) return static_cast<long>(GetLastError());
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return ERROR_SUCCESS;
}

long ReadAll(HANDLE h, std::string* content) {
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(h, buffer, sizeof buffer, &got, nullptr)) return static_cast<long>(GetLastError());
    if (got == 0) return ERROR_SUCCESS;
    content->append(buffer, got);
  }
}

// Another program may hold the file for a moment without sharing it (a virus scanner looking at
// a file just replaced does; so does Wine while it renames over it, and so does another host's
// EditWhole): such an open is tried again a few times before it is refused.
HANDLE OpenWaiting(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE opened = INVALID_HANDLE_VALUE;
  const std::optional<std::wstring> wide = Limited(path);
  if (!wide) return opened;
  for (int attempt = 0; attempt < 5; ++attempt) {
    opened = CreateFileW(wide->c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(10 * (attempt + 1));
  }
  return opened;
}

// The replaced file's DACL goes to its replacement first. Windows' ReplaceFileW merges it
// anyway; Wine's keeps nothing of the replaced file, and there the DACL stands for the Unix
// permission bits, so a file readable by its owner alone stays so on both.
void CopyDacl(const std::wstring& from, const std::wstring& to) {
  DWORD size = 0;
  GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  if (size == 0) return;
  std::vector<BYTE> descriptor(size);
  if (GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
    SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

// ReplaceFileW gives the new file the old one's identity: its ACL, owner, alternate data
// streams, attributes and creation time, which a rename over it would lose. The old file waits
// under a backup name until the new one is in place, so a failure at any step can leave it
// whole: the name is the replacement's own with its last character changed, which no
// temporary name of ours takes.
bool ReplaceKeepingIdentity(const std::wstring& replacement, const std::wstring& replaced) {
  std::wstring backup = replacement;
  backup.back() = backup.back() == L'~' ? L'-' : L'~';
  CopyDacl(replaced, replacement);
  if (ReplaceFileW(replaced.c_str(), replacement.c_str(), backup.c_str(), 0, nullptr, nullptr)) {
    DeleteFileW(backup.c_str());
    return true;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    // The old file was moved to the backup, the new one could not take its place: put it back.
    MoveFileExW(backup.c_str(), replaced.c_str(), MOVEFILE_REPLACE_EXISTING);
  } else if (error == ERROR_FILE_NOT_FOUND && GetFileAttributesW(replaced.c_str()) == INVALID_FILE_ATTRIBUTES) {
    // The old file went away meanwhile: there is nothing left to keep.
    return MoveFileExW(replacement.c_str(), replaced.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  SetLastError(error);
  return false;
}

}  // namespace

long Files::CreateProbeFile(const std::string& path) {
  const std::optional<std::wstring> wide = Limited(path);
  if (!wide) return ERROR_FILENAME_EXCED_RANGE;
  FileHandle h(CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  return h.valid() ? ERROR_SUCCESS : static_cast<long>(GetLastError());
}

bool Files::RemoveFile(const std::string& path) {
  const std::optional<std::wstring> wide = Limited(path);
  return wide && ::DeleteFileW(wide->c_str()) != 0;
}

uint32_t Files::GetAttributes(const std::string& path) {
  const std::optional<std::wstring> wide = Limited(path);
  return wide ? GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool Files::SetAttributes(const std::string& path, uint32_t attributes) {
  const std::optional<std::wstring> wide = Limited(path);
  return wide && SetFileAttributesW(wide->c_str(), attributes) != 0;
}

bool Files::MakeDirectory(const std::string& path) {
  const std::optional<std::wstring> wide = Limited(path);
  return wide && ::CreateDirectoryW(wide->c_str(), nullptr) != 0;
}

bool Files::Copy(const std::string& source, const std::string& target, bool failIfExists) {
  return ::CopyFileW(WideOfPath(source).c_str(), WideOfPath(target).c_str(), failIfExists) != 0;
}

bool Files::MoveReplace(const std::string& source, const std::string& target) {
  // The new name may be longer, as MoveFileExA took it; the old one may not.
  if (!Limited(source)) return false;
  const std::wstring from = WideOfPath(source), to = WideOfPath(target);
  DWORD old = GetFileAttributesW(to.c_str());
  if (old == INVALID_FILE_ATTRIBUTES || (old & FILE_ATTRIBUTE_DIRECTORY))
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  // Refused before anything is touched: the replacement must stay removable.
  if (old & FILE_ATTRIBUTE_READONLY) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // Windows' ReplaceFileW keeps these itself; Wine's keeps none of them.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if ((old & kKept) && !SetFileAttributesW(from.c_str(), old & kKept)) return false;
  return ReplaceKeepingIdentity(from, to);
}

std::string Files::FinalPath(const std::string& path) {
  const std::optional<std::wstring> wide = Limited(path);
  if (!wide) return path;
  DWORD attributes = GetFileAttributesW(wide->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
  // Vista and later; on older systems a path is taken as it is.
  using FinalPathName = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  auto finalPathName = SystemFunction<FinalPathName>("kernel32.dll", "GetFinalPathNameByHandleW");
  if (!finalPathName) return path;
  FileHandle h(CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h.valid()) return path;
  wchar_t buffer[MAX_PATH + 16];
  DWORD n = finalPathName(h.get(), buffer, MAX_PATH + 16, 0 /* FILE_NAME_NORMALIZED | VOLUME_NAME_DOS */);
  if (n == 0 || n >= MAX_PATH + 16) return path;
  std::string final = PathOfWide(buffer, n);
  if (final.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + final.substr(8);
  if (final.rfind("\\\\?\\", 0) == 0) return final.substr(4);
  return final;
}

std::vector<FoundFile> Files::FindFiles(const std::string& mask) {
  std::vector<FoundFile> found;
  const std::optional<std::wstring> wide = Limited(mask);
  if (!wide) return found;
  WIN32_FIND_DATAW data{};
  FindHandle h(FindFirstFileW(wide->c_str(), &data));
  if (!h.valid()) return found;
  do {
    const uint64_t written = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    found.push_back(FoundFile{PathOfWide(data.cFileName), data.dwFileAttributes, written});
  } while (FindNextFileW(h.get(), &data));
  // NTFS answers in case-insensitive name order; FAT volumes, network shares and Wine's view of
  // a Unix folder answer in whatever order they keep. Sorting gives every volume the NTFS order,
  // so the listing is the same wherever the plugins folder lies.
  std::stable_sort(found.begin(), found.end(),
                   [](const FoundFile& a, const FoundFile& b) { return LessNoCaseAscii(a.Name, b.Name); });
  return found;
}

long Files::ReadWhole(const std::string& path, std::string* content) {
  content->clear();
  // Shared for deletion too: a Save that replaces the file by renaming over it while another
  // thread reads it (the panel's columns) goes through; the reader keeps the old content.
  FileHandle h(OpenWaiting(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING));
  if (!h.valid()) return static_cast<long>(GetLastError());
  return ReadAll(h.get(), content);
}

long Files::WriteWhole(const std::string& path, const std::string& content) {
  const std::optional<std::wstring> wide = Limited(path);
  if (!wide) return ERROR_FILENAME_EXCED_RANGE;
  FileHandle h(CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) return static_cast<long>(GetLastError());
  return WriteAll(h.get(), content);
}

long Files::AppendTo(const std::string& path, const std::string& content) {
  FileHandle h(OpenWaiting(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS));
  if (!h.valid()) return static_cast<long>(GetLastError());
  return WriteAll(h.get(), content);
}

long Files::CreateNew(const std::string& path, const std::string& content) {
  const std::optional<std::wstring> wide = Limited(path);
  if (!wide) return ERROR_FILENAME_EXCED_RANGE;
  FileHandle h(CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) return static_cast<long>(GetLastError());
  return WriteAll(h.get(), content);
}

long Files::EditWhole(const std::string& path, const std::function<std::string(const std::string&)>& edit) {
  FileHandle h(OpenWaiting(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING));
  if (!h.valid()) return static_cast<long>(GetLastError());
  std::string content;
  if (long rc = ReadAll(h.get(), &content)) return rc;
  const std::string edited = edit(content);
  if (SetFilePointer(h.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return static_cast<long>(GetLastError());
  if (long rc = WriteAll(h.get(), edited)) return rc;
  return SetEndOfFile(h.get()) ? ERROR_SUCCESS : static_cast<long>(GetLastError());
}

long Files::WriteCopy(const std::string& target, const std::string& content, uint32_t sourceAttributes) {
  // The attributes CopyFileA gives a copy; a file cannot be made with the others.
  constexpr DWORD kCopied = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD attributes = sourceAttributes & kCopied;
  const std::optional<std::wstring> limited = Limited(target);
  if (!limited) return ERROR_FILENAME_EXCED_RANGE;
  const std::wstring& wide = *limited;
  {
    FileHandle h(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return static_cast<long>(GetLastError());
    if (long rc = WriteAll(h.get(), content)) return rc;
  }
  // Windows gives a file it overwrites the new attributes; Wine keeps the old ones.
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !SetFileAttributesW(wide.c_str(), attributes))
    return static_cast<long>(GetLastError());
  return ERROR_SUCCESS;
}

}  // namespace qzr::win32
