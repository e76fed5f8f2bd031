// Win32 file backend.
#include "platform/win32/backends.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_handles.h"
#include "util/text.h"

namespace qzr::win32 {
namespace {

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
  for (int attempt = 0; attempt < 5; ++attempt) {
    opened = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(10 * (attempt + 1));
  }
  return opened;
}

}  // namespace

long Files::CreateProbeFile(const std::string& path) {
  FileHandle h(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  return h.valid() ? ERROR_SUCCESS : static_cast<long>(GetLastError());
}

bool Files::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

uint32_t Files::GetAttributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool Files::SetAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool Files::MakeDirectory(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Files::Copy(const std::string& source, const std::string& target, bool failIfExists) {
  return ::CopyFileA(source.c_str(), target.c_str(), failIfExists) != 0;
}

bool Files::MoveReplace(const std::string& source, const std::string& target) {
  // The replacement is a new file: a hidden or system file stays what the user made it.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  DWORD old = GetFileAttributesA(target.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY) && (old & kKept) &&
      !SetFileAttributesA(source.c_str(), old & kKept))
    return false;
  return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string Files::FinalPath(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
  // Vista and later; on older systems a path is taken as it is.
  using FinalPathName = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  auto finalPathName = SystemFunction<FinalPathName>("kernel32.dll", "GetFinalPathNameByHandleA");
  if (!finalPathName) return path;
  FileHandle h(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h.valid()) return path;
  char buffer[MAX_PATH + 16];
  DWORD n = finalPathName(h.get(), buffer, sizeof buffer, 0 /* FILE_NAME_NORMALIZED | VOLUME_NAME_DOS */);
  if (n == 0 || n >= sizeof buffer) return path;
  std::string final(buffer, n);
  if (final.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + final.substr(8);
  if (final.rfind("\\\\?\\", 0) == 0) return final.substr(4);
  return final;
}

std::vector<FoundFile> Files::FindFiles(const std::string& mask) {
  std::vector<FoundFile> found;
  WIN32_FIND_DATAA data{};
  FindHandle h(FindFirstFileA(mask.c_str(), &data));
  if (!h.valid()) return found;
  do {
    const uint64_t written = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    found.push_back(FoundFile{data.cFileName, data.dwFileAttributes, written});
  } while (FindNextFileA(h.get(), &data));
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
  FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) return static_cast<long>(GetLastError());
  return WriteAll(h.get(), content);
}

long Files::AppendTo(const std::string& path, const std::string& content) {
  FileHandle h(OpenWaiting(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS));
  if (!h.valid()) return static_cast<long>(GetLastError());
  return WriteAll(h.get(), content);
}

long Files::CreateNew(const std::string& path, const std::string& content) {
  FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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

}  // namespace qzr::win32
