// The file seam in memory, call for call what the disk substitute (files.cpp) does with the
// same paths: the same refusals before anything is touched, the same status codes for a missing
// folder or file, a folder where a file is wanted, a read-only file; the same injected faults
// under the same operation names, checked at the same points.
#include "platform/posix/memory_files.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>

#include "platform/posix/file_rules.h"
#include "util/text.h"
#include "util/wildcard.h"

namespace qzr::posix {
namespace {

uint64_t Now() {
  constexpr uint64_t kSecondsFrom1601To1970 = 11644473600u;
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return (static_cast<uint64_t>(t.tv_sec) + kSecondsFrom1601To1970) * 10000000u + static_cast<uint64_t>(t.tv_nsec) / 100u;
}

std::string ParentKey(const std::string& key) {
  size_t slash = key.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : key.substr(0, slash);
}

}  // namespace

MemoryFiles::MemoryFiles() { Clear(); }

void MemoryFiles::Clear() {
  std::lock_guard lock(mutex_);
  nodes_.clear();
  held_.clear();
  nodes_["/"] = Node{true, false, Now(), {}};
}

std::vector<std::string> MemoryFiles::Names(const std::string& folder) {
  std::lock_guard lock(mutex_);
  const std::string key = Key(folder);
  const std::string prefix = key == "/" ? "/" : key + '/';
  std::vector<std::string> names;
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.rfind(prefix, 0) == 0; ++it)
    if (it->first.size() > prefix.size() && it->first.find('/', prefix.size()) == std::string::npos)
      names.push_back(it->first.substr(prefix.size()));
  return names;
}

std::string MemoryFiles::Key(const std::string& path) {
  std::string key;
  key.reserve(path.size());
  for (char c : path)
    if (c != '/' || key.empty() || key.back() != '/') key += c;
  if (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

MemoryFiles::Node* MemoryFiles::Find(const std::string& key) {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : &it->second;
}

long MemoryFiles::Missing(const std::string& key) {
  if (key.find('/') == std::string::npos) return win::kFileNotFound;
  const Node* folder = Find(ParentKey(key));
  return folder && folder->folder ? win::kFileNotFound : win::kPathNotFound;
}

MemoryFiles::Node* MemoryFiles::OpenForWrite(const std::string& key, bool create, long* rc) {
  Node* node = Find(key);
  if (node && (node->folder || node->readOnly)) {
    *rc = win::kAccessDenied;
    return nullptr;
  }
  if (!node) {
    const Node* folder = Find(ParentKey(key));
    if (!create || !folder || !folder->folder) {
      *rc = Missing(key);
      return nullptr;
    }
    node = &nodes_[key];
  }
  *rc = win::kSuccess;
  return node;
}

long MemoryFiles::Read(const std::string& path, std::string* content) {
  content->clear();
  if (long f = Faults::Check("ReadWhole", path)) return f;
  const Node* node = Find(Key(path));
  if (!node) return Missing(Key(path));
  if (node->folder) return win::kAccessDenied;
  *content = node->bytes;
  return win::kSuccess;
}

void MemoryFiles::Written(Node& node, std::string bytes) {
  node.bytes = std::move(bytes);
  node.writeTime = Now();
}

bool MemoryFiles::WaitUntilFree(std::unique_lock<std::mutex>& lock, const std::string& key) {
  for (int attempt = 0; held_.count(key); ++attempt) {
    if (attempt == kHoldAttempts) return false;
    lock.unlock();
    usleep(HoldWait(attempt + 1));
    lock.lock();
  }
  return true;
}

long MemoryFiles::CreateProbeFile(const std::string& path) {
  if (long f = Refusal("CreateProbeFile", path)) return f;
  std::lock_guard lock(mutex_);
  long rc = 0;
  if (Node* node = OpenForWrite(Key(path), true, &rc)) Written(*node, {});
  return rc;
}

bool MemoryFiles::RemoveFile(const std::string& path) {
  if (Refusal("RemoveFile", path)) return false;
  std::lock_guard lock(mutex_);
  const Node* node = Find(Key(path));
  if (!node || node->folder || node->readOnly) return false;
  nodes_.erase(Key(path));
  return true;
}

uint32_t MemoryFiles::GetAttributes(const std::string& path) {
  if (TooLong(path)) return win::kInvalidAttributes;
  std::lock_guard lock(mutex_);
  const Node* node = Find(Key(path));
  if (!node) return win::kInvalidAttributes;
  return (node->folder ? win::kAttrDirectory : win::kAttrArchive) | (node->readOnly ? win::kAttrReadOnly : 0);
}

bool MemoryFiles::SetAttributes(const std::string& path, uint32_t attributes) {
  if (Refusal("SetAttributes", path)) return false;
  std::lock_guard lock(mutex_);
  Node* node = Find(Key(path));
  if (!node) return false;
  node->readOnly = attributes & win::kAttrReadOnly;
  return true;
}

bool MemoryFiles::MakeDirectory(const std::string& path) {
  if (Refusal("MakeDirectory", path)) return false;
  std::lock_guard lock(mutex_);
  const std::string key = Key(path);
  const Node* folder = Find(ParentKey(key));
  if (Find(key) || !folder || !folder->folder) return false;
  nodes_[key] = Node{true, false, Now(), {}};
  return true;
}

bool MemoryFiles::Copy(const std::string& source, const std::string& target, bool failIfExists) {
  if (Faults::Check("Copy", target)) return false;
  std::unique_lock lock(mutex_);
  std::string content;
  if (Read(source, &content) != win::kSuccess) return false;
  const Node* existing = Find(Key(target));
  if (existing && (failIfExists || existing->folder)) return false;
  if (Faults::Check("Copy", target)) return false;
  long rc = 0;
  Node* node = OpenForWrite(Key(target), true, &rc);
  if (!node) return false;
  Written(*node, std::move(content));
  // CopyFileA gives the copy its source's attributes, read-only included.
  const Node* copied = Find(Key(source));
  const bool readOnly = copied && copied->readOnly;
  lock.unlock();
  if (readOnly) SetAttributes(target, win::kAttrReadOnly);
  return true;
}

bool MemoryFiles::MoveReplace(const std::string& source, const std::string& target) {
  if (TooLong(source) || Faults::Check("MoveReplace", target)) return false;
  std::lock_guard lock(mutex_);
  const std::string from = Key(source), to = Key(target);
  const Node* moved = Find(from);
  const Node* replaced = Find(to);
  const Node* folder = Find(ParentKey(to));
  if (!moved || !folder || !folder->folder || (replaced && (replaced->readOnly || replaced->folder != moved->folder)))
    return false;
  if (from == to) return true;
  // The replacement takes what the old file was: writable, or it would have been refused.
  if (replaced) nodes_[from].readOnly = replaced->readOnly;
  // A folder takes what is below it along.
  std::map<std::string, Node> below;
  for (auto it = nodes_.lower_bound(from + '/'); it != nodes_.end() && it->first.rfind(from + '/', 0) == 0;)
    below.emplace(to + it->first.substr(from.size()), std::move(it->second)), it = nodes_.erase(it);
  nodes_[to] = std::move(nodes_[from]);
  nodes_.erase(from);
  nodes_.merge(below);
  return true;
}

std::string MemoryFiles::FinalPath(const std::string& path) { return path; }

std::vector<FoundFile> MemoryFiles::FindFiles(const std::string& mask) {
  std::vector<FoundFile> found;
  if (TooLong(mask)) return found;
  const std::string folder = FolderPart(mask), pattern = FileNamePart(mask);
  std::lock_guard lock(mutex_);
  const std::string key = folder.empty() ? "." : Key(folder);
  const Node* dir = Find(key);
  if (!dir || !dir->folder) return found;
  auto add = [&](const std::string& name, const Node& node) {
    if (!WildcardMatch(pattern, name, false) || TooLong(JoinPath(folder, name))) return;
    uint32_t attributes = (node.folder ? win::kAttrDirectory : win::kAttrArchive) | (node.readOnly ? win::kAttrReadOnly : 0);
    found.push_back(FoundFile{name, attributes, node.writeTime});
  };
  add(".", *dir);
  add("..", *dir);
  const std::string prefix = key == "/" ? "/" : key + '/';
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.rfind(prefix, 0) == 0; ++it)
    if (it->first.size() > prefix.size() && it->first.find('/', prefix.size()) == std::string::npos)
      add(it->first.substr(prefix.size()), it->second);
  // NTFS returns names in case-insensitive order, as the disk substitute sorts them.
  std::sort(found.begin(), found.end(),
            [](const FoundFile& a, const FoundFile& b) { return LessNoCaseAscii(a.Name, b.Name); });
  return found;
}

long MemoryFiles::ReadWhole(const std::string& path, std::string* content) {
  if (TooLong(path)) {
    content->clear();
    return win::kFilenameExcedRange;
  }
  std::lock_guard lock(mutex_);
  return Read(path, content);
}

long MemoryFiles::WriteWhole(const std::string& path, const std::string& content) {
  if (TooLong(path)) return win::kFilenameExcedRange;
  if (long f = Faults::Check("WriteWhole", path)) return f;
  std::lock_guard lock(mutex_);
  long rc = 0;
  if (Node* node = OpenForWrite(Key(path), true, &rc)) Written(*node, content);
  return rc;
}

long MemoryFiles::AppendTo(const std::string& path, const std::string& content) {
  if (TooLong(path)) return win::kFilenameExcedRange;
  if (long f = Faults::Check("AppendTo", path)) return f;
  std::unique_lock lock(mutex_);
  long rc = 0;
  if (!OpenForWrite(Key(path), true, &rc)) return rc;
  if (!WaitUntilFree(lock, Key(path))) return win::kSharingViolation;
  Node* node = Find(Key(path));
  Written(*node, node->bytes + content);
  return win::kSuccess;
}

long MemoryFiles::CreateNew(const std::string& path, const std::string& content) {
  if (long f = Refusal("CreateNew", path)) return f;
  std::lock_guard lock(mutex_);
  if (Find(Key(path))) return win::kFileExists;
  long rc = 0;
  if (Node* node = OpenForWrite(Key(path), true, &rc)) Written(*node, content);
  return rc;
}

long MemoryFiles::EditWhole(const std::string& path, const std::function<std::string(const std::string&)>& edit) {
  if (long f = Refusal("EditWhole", path)) return f;
  const std::string key = Key(path);
  std::string content;
  {
    std::unique_lock lock(mutex_);
    long rc = 0;
    if (!OpenForWrite(key, false, &rc)) return rc;
    if (!WaitUntilFree(lock, key)) return win::kSharingViolation;
    content = Find(key)->bytes;
    held_.insert(key);
  }
  // The edit runs without the lock, as another program's calls may come meanwhile.
  std::string edited = edit(content);
  std::lock_guard lock(mutex_);
  held_.erase(key);
  if (Node* node = Find(key)) Written(*node, std::move(edited));
  return win::kSuccess;
}

long MemoryFiles::WriteCopy(const std::string& target, const std::string& content, uint32_t sourceAttributes) {
  if (long refused = Refusal("WriteCopy", target)) return refused;
  std::lock_guard lock(mutex_);
  long rc = 0;
  Node* node = OpenForWrite(Key(target), true, &rc);
  if (!node) return rc;
  Written(*node, content);
  if (sourceAttributes & win::kAttrReadOnly) node->readOnly = true;
  return win::kSuccess;
}

}  // namespace qzr::posix
