// The file functions of the platform seam: the few Win32 file calls the plugin makes, with
// Windows status codes. Paths are path text (UTF-8, see base/path_text.h), joined with
// kPathDelim; on Windows the backend calls the W functions, so a folder named in any script is
// reached. The names given back are path text too.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qzr {

struct FoundFile {
  std::string Name;  // name and extension, no folder
  uint32_t Attributes = 0;
  // The last write, in 100-nanosecond steps since 1601 in UTC (a FILETIME): unlike a time in a
  // name, it does not move when the clock's zone or daylight saving does.
  uint64_t WriteTime = 0;
};

class FileApi {
 public:
  virtual ~FileApi() = default;
  // CreateFileA for reading and writing, no sharing, CREATE_ALWAYS, normal attributes; the
  // handle is closed at once. The write test's probe.
  virtual long CreateProbeFile(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // GetFileAttributesA; kInvalidAttributes when the path does not exist.
  virtual uint32_t GetAttributes(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  // CreateDirectoryA: one level.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // CopyFileA.
  virtual bool Copy(const std::string& source, const std::string& target, bool failIfExists) = 0;
  // How a finished temporary file replaces the old one: ReplaceFileW when the target exists
  // (MoveFileExA with MOVEFILE_REPLACE_EXISTING when it does not). The new file keeps what the
  // one it replaces was: its ACL, owner, streams and attributes on Windows, its permission bits,
  // owner and extended attributes on POSIX. On failure the old file is left whole.
  virtual bool MoveReplace(const std::string& source, const std::string& target) = 0;
  // The file a path leads to once symbolic links are followed; the path itself when it is no
  // link, or a link that leads nowhere.
  virtual std::string FinalPath(const std::string& path) = 0;
  // FindFirstFileA/FindNextFileA over a mask such as "dir\*.tweak", in the order the file
  // system returns them, "." and ".." included when the mask matches them.
  virtual std::vector<FoundFile> FindFiles(const std::string& mask) = 0;
  // The whole file; a status code on failure.
  virtual long ReadWhole(const std::string& path, std::string* content) = 0;
  // Creates or truncates the file and writes `content`.
  virtual long WriteWhole(const std::string& path, const std::string& content) = 0;
  // Opens or creates the file and writes `content` at its end.
  virtual long AppendTo(const std::string& path, const std::string& content) = 0;
  // CreateFileA with CREATE_NEW, then `content`: kFileExists when the name is taken, and the file
  // that holds it is never touched. Two programs choosing the same name: one of them gets it.
  virtual long CreateNew(const std::string& path, const std::string& content) = 0;
  // Opens an existing file for reading and writing without sharing, reads it whole and writes
  // `edit` of it in its place before it lets go. Others' AppendTo waits meanwhile (it tries again
  // while the file is held), so no line appended by another program is lost by the edit.
  virtual long EditWhole(const std::string& path, const std::function<std::string(const std::string&)>& edit) = 0;
  // What CopyFileA makes of a file that holds `content` and has the attributes `sourceAttributes`
  // (as FindFiles gave them), without reading the source again: CreateFileA with CREATE_ALWAYS
  // and those attributes, then the bytes. Like the copy it refuses to replace a read-only file,
  // and on Windows a hidden or system one; the new file's times are its own.
  virtual long WriteCopy(const std::string& target, const std::string& content, uint32_t sourceAttributes) = 0;
};

}  // namespace qzr
