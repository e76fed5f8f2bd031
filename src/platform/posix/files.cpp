// POSIX substitute for the Win32 file calls: real files, Windows status codes, and the Windows
// rules root would otherwise skip (a read-only file cannot be written, replaced or deleted).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#include "platform/posix/file_rules.h"
#include "util/text.h"
#include "util/utf16.h"
#include "util/wildcard.h"

namespace qzr::posix {
namespace {

long FromErrno(int e) {
  switch (e) {
    case ENOENT: return win::kFileNotFound;
    case ENOTDIR: return win::kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return win::kAccessDenied;
    case EEXIST: return win::kFileExists;
    case ENOSPC: return win::kDiskFull;
    case ENAMETOOLONG: return win::kBadPathName;
    default: return win::kWriteFault;
  }
}

// Windows tells a missing file from a missing folder; errno does not.
long MissingCode(const std::string& path) {
  std::string folder = FolderPart(path);
  if (folder.size() > 1) folder.pop_back();
  struct stat st{};
  if (!folder.empty() && (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))) return win::kPathNotFound;
  return win::kFileNotFound;
}

long ErrnoCode(int e, const std::string& path) {
  return (e == ENOENT || e == ENOTDIR) ? MissingCode(path) : FromErrno(e);
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now, so a failed close (a late write error) can be reported.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

long WriteBytes(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
  return win::kSuccess;
}

long WriteAll(Fd& fd, const std::string& content) {
  if (long rc = WriteBytes(fd.get(), content)) return rc;
  return fd.Close() ? win::kSuccess : FromErrno(errno);
}

// Windows' open without sharing, as an advisory lock that AppendTo and EditWhole take: while one
// holds the file the other is refused, tried again a few times as the Windows backend does,
// then answered with a sharing violation.
long Hold(const Fd& fd) {
  for (int attempt = 0;; ++attempt) {
    if (flock(fd.get(), LOCK_EX | LOCK_NB) == 0) return win::kSuccess;
    if (errno != EWOULDBLOCK && errno != EINTR) return FromErrno(errno);
    if (attempt == kHoldAttempts) return win::kSharingViolation;
    usleep(HoldWait(attempt + 1));
  }
}

long OpenForWrite(const std::string& path, int flags, const char* operation, const std::string& content,
                  bool held = false) {
  if (long f = Faults::Check(operation, path)) return f;
  if (IsReadOnlyFile(path)) return win::kAccessDenied;
  Fd fd(open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0666));
  if (!fd.valid()) return ErrnoCode(errno, path);
  if (held)
    if (long rc = Hold(fd)) return rc;
  return WriteAll(fd, content);
}

// `expected` is the size fstat gave a regular file (0 when unknown): the read that ends short of
// the buffer at that size is the last, with no further read to find the end.
long ReadFd(int fd, std::string* content, size_t expected = 0) {
  content->reserve(expected);
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno);
    }
    if (n == 0) return win::kSuccess;
    content->append(buffer, static_cast<size_t>(n));
    if (static_cast<size_t>(n) < sizeof buffer && expected && content->size() >= expected) return win::kSuccess;
  }
}

long ReadAll(const std::string& path, std::string* content) {
  content->clear();
  if (long f = Faults::Check("ReadWhole", path)) return f;
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return ErrnoCode(errno, path);
  struct stat st{};
  const bool known = fstat(fd.get(), &st) == 0;
  if (known && S_ISDIR(st.st_mode)) return win::kAccessDenied;
  return ReadFd(fd.get(), content, known && S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 0);
}

// A FILETIME: 100-nanosecond steps since 1601.
uint64_t FileTime(const struct timespec& t) {
  constexpr uint64_t kSecondsFrom1601To1970 = 11644473600u;
  return (static_cast<uint64_t>(t.tv_sec) + kSecondsFrom1601To1970) * 10000000u + static_cast<uint64_t>(t.tv_nsec) / 100u;
}

uint32_t AttributesOf(const struct stat& st) {
  uint32_t a = S_ISDIR(st.st_mode) ? win::kAttrDirectory : win::kAttrArchive;
  if (!(st.st_mode & S_IWUSR)) a |= win::kAttrReadOnly;
  return a;
}

// Extended attributes go with the file too: a POSIX ACL (system.posix_acl_access), a user's
// tags. One the file system or our rights do not allow is left behind, as a copy would.
void CopyExtendedAttributes(const std::string& from, const std::string& to) {
  ssize_t size = listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::string names(static_cast<size_t>(size), '\0');
  size = listxattr(from.c_str(), names.data(), names.size());
  if (size <= 0) return;
  names.resize(static_cast<size_t>(size));
  for (size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
    const char* name = names.c_str() + at;
    ssize_t length = getxattr(from.c_str(), name, nullptr, 0);
    if (length < 0) continue;
    std::string value(static_cast<size_t>(length), '\0');
    length = getxattr(from.c_str(), name, value.data(), value.size());
    if (length >= 0) setxattr(to.c_str(), name, value.data(), static_cast<size_t>(length), 0);
  }
}

}  // namespace

long Files::CreateProbeFile(const std::string& path) {
  if (long f = Refusal("CreateProbeFile", path)) return f;
  if (IsReadOnlyFile(path)) return win::kAccessDenied;
  Fd fd(open(path.c_str(), O_CREAT | O_TRUNC | O_RDWR | O_CLOEXEC, 0666));
  return fd.valid() ? win::kSuccess : ErrnoCode(errno, path);
}

bool Files::RemoveFile(const std::string& path) {
  if (Refusal("RemoveFile", path)) return false;
  struct stat st{};
  if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (IsReadOnlyFile(path)) return false;
  return unlink(path.c_str()) == 0;
}

uint32_t Files::GetAttributes(const std::string& path) {
  if (TooLong(path)) return win::kInvalidAttributes;
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return win::kInvalidAttributes;
  return AttributesOf(st);
}

bool Files::SetAttributes(const std::string& path, uint32_t attributes) {
  if (Refusal("SetAttributes", path)) return false;
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & win::kAttrReadOnly) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
  return chmod(path.c_str(), mode) == 0;
}

bool Files::MakeDirectory(const std::string& path) {
  if (Refusal("MakeDirectory", path)) return false;
  return mkdir(path.c_str(), 0777) == 0;
}

bool Files::Copy(const std::string& source, const std::string& target, bool failIfExists) {
  if (Faults::Check("Copy", target)) return false;
  std::string content;
  if (ReadAll(source, &content) != win::kSuccess) return false;
  struct stat st{};
  if (stat(target.c_str(), &st) == 0 && (failIfExists || S_ISDIR(st.st_mode))) return false;
  if (OpenForWrite(target, O_CREAT | O_TRUNC, "Copy", content) != win::kSuccess) return false;
  // CopyFileA gives the copy its source's attributes, read-only included.
  if (IsReadOnlyFile(source)) SetAttributes(target, win::kAttrReadOnly);
  return true;
}

bool Files::MoveReplace(const std::string& source, const std::string& target) {
  if (TooLong(source) || Faults::Check("MoveReplace", target)) return false;
  if (IsReadOnlyFile(target)) return false;
  // A 0600 file holding a token must not come back readable by everyone: the replacement takes
  // the permission bits and, where the rights allow, the owner of the file it replaces.
  struct stat st{};
  if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    if (chown(source.c_str(), st.st_uid, st.st_gid) != 0 && chown(source.c_str(), static_cast<uid_t>(-1), st.st_gid) != 0) {
      // Not allowed to give the file away: it stays ours, with the old permission bits.
    }
    if (chmod(source.c_str(), st.st_mode & 07777) != 0) return false;
    CopyExtendedAttributes(target, source);
  }
  return rename(source.c_str(), target.c_str()) == 0;
}

std::string Files::FinalPath(const std::string& path) {
  struct stat st{};
  if (TooLong(path) || lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::vector<FoundFile> Files::FindFiles(const std::string& mask) {
  std::vector<FoundFile> found;
  if (TooLong(mask)) return found;
  std::string folder = FolderPart(mask);
  std::string pattern = FileNamePart(mask);
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (!WildcardMatch(pattern, name, false)) continue;
    // Looked at from the open folder: no walk along the whole path for each entry.
    struct stat st{};
    if (TooLong(JoinPath(folder, name)) || fstatat(dirfd(dir), entry->d_name, &st, 0) != 0) continue;
    found.push_back(FoundFile{name, AttributesOf(st), FileTime(st.st_mtim)});
  }
  closedir(dir);
  // NTFS returns names in case-insensitive order; readdir's order is arbitrary.
  std::sort(found.begin(), found.end(),
            [](const FoundFile& a, const FoundFile& b) { return LessNoCaseAscii(a.Name, b.Name); });
  return found;
}

long Files::ReadWhole(const std::string& path, std::string* content) {
  if (TooLong(path)) {
    content->clear();
    return win::kFilenameExcedRange;
  }
  return ReadAll(path, content);
}

long Files::WriteWhole(const std::string& path, const std::string& content) {
  if (TooLong(path)) return win::kFilenameExcedRange;
  return OpenForWrite(path, O_CREAT | O_TRUNC, "WriteWhole", content);
}

long Files::AppendTo(const std::string& path, const std::string& content) {
  if (TooLong(path)) return win::kFilenameExcedRange;
  return OpenForWrite(path, O_CREAT | O_APPEND, "AppendTo", content, true);
}

long Files::CreateNew(const std::string& path, const std::string& content) {
  if (long f = Refusal("CreateNew", path)) return f;
  Fd fd(open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
  if (!fd.valid()) return ErrnoCode(errno, path);
  return WriteAll(fd, content);
}

long Files::EditWhole(const std::string& path, const std::function<std::string(const std::string&)>& edit) {
  if (long f = Refusal("EditWhole", path)) return f;
  if (IsReadOnlyFile(path)) return win::kAccessDenied;
  Fd fd(open(path.c_str(), O_RDWR | O_CLOEXEC));
  if (!fd.valid()) return ErrnoCode(errno, path);
  if (long rc = Hold(fd)) return rc;
  std::string content;
  if (long rc = ReadFd(fd.get(), &content)) return rc;
  const std::string edited = edit(content);
  if (lseek(fd.get(), 0, SEEK_SET) != 0) return FromErrno(errno);
  if (long rc = WriteBytes(fd.get(), edited)) return rc;
  if (ftruncate(fd.get(), static_cast<off_t>(edited.size())) != 0) return FromErrno(errno);
  return fd.Close() ? win::kSuccess : FromErrno(errno);
}

long Files::WriteCopy(const std::string& target, const std::string& content, uint32_t sourceAttributes) {
  if (long refused = Refusal("WriteCopy", target)) return refused;
  const bool readOnly = sourceAttributes & win::kAttrReadOnly;
  // A new file, the usual case in a database folder, is made with its mode at once and needs
  // no look at what was there.
  Fd fd(open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, readOnly ? 0444 : 0666));
  if (!fd.valid()) {
    if (errno != EEXIST) return ErrnoCode(errno, target);
    if (IsReadOnlyFile(target)) return win::kAccessDenied;
    Fd existing(open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!existing.valid()) return ErrnoCode(errno, target);
    if (readOnly) {
      struct stat st{};
      if (fstat(existing.get(), &st) != 0 || fchmod(existing.get(), st.st_mode & ~mode_t{0222}) != 0)
        return FromErrno(errno);
    }
    return WriteAll(existing, content);
  }
  return WriteAll(fd, content);
}

}  // namespace qzr::posix
