// The POSIX file substitute with its files in memory: a map of paths to bytes with the disk
// substitute's Windows rules, status codes and injected faults, for tests and fuzz targets that
// make and read thousands of files a second. Chosen when the seam is made: a part of its own,
// put in place of Os().files (and a Profile over it in place of Os().profile).
#pragma once
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/posix/backends.h"

namespace qzr::posix {

class MemoryFiles final : public FileApi {
 public:
  // Holds only the root "/"; every folder below it is made with MakeDirectory.
  MemoryFiles();
  long CreateProbeFile(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  uint32_t GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool MakeDirectory(const std::string& path) override;
  bool Copy(const std::string& source, const std::string& target, bool failIfExists) override;
  bool MoveReplace(const std::string& source, const std::string& target) override;
  std::string FinalPath(const std::string& path) override;
  std::vector<FoundFile> FindFiles(const std::string& mask) override;
  long ReadWhole(const std::string& path, std::string* content) override;
  long WriteWhole(const std::string& path, const std::string& content) override;
  long AppendTo(const std::string& path, const std::string& content) override;
  long CreateNew(const std::string& path, const std::string& content) override;
  long EditWhole(const std::string& path, const std::function<std::string(const std::string&)>& edit) override;
  long WriteCopy(const std::string& target, const std::string& content, uint32_t sourceAttributes) override;

  // Forgets every file and folder below the root.
  void Clear();
  // Every name in a folder, sorted, those too long for FindFiles too: what a look with the
  // system's own calls shows of a folder on disk.
  std::vector<std::string> Names(const std::string& folder);

 private:
  struct Node {
    bool folder = false;
    bool readOnly = false;
    uint64_t writeTime = 0;
    std::string bytes;
  };
  // Paths as keys: without a trailing delimiter or doubled ones.
  static std::string Key(const std::string& path);
  Node* Find(const std::string& key);
  // The status of a path that names nothing: its folder is missing, or the file is.
  long Missing(const std::string& key);
  // Opens for writing as the disk substitute's open(2) does: a read-only file or a folder is
  // refused, a missing one is made when `create`; the node, or null with the status in `rc`.
  Node* OpenForWrite(const std::string& key, bool create, long* rc);
  long Read(const std::string& path, std::string* content);
  void Written(Node& node, std::string bytes);
  // Waits (as the disk substitute does) until no edit holds the file; false when one still does.
  bool WaitUntilFree(std::unique_lock<std::mutex>& lock, const std::string& key);

  std::mutex mutex_;
  std::map<std::string, Node> nodes_;
  std::set<std::string> held_;  // files an EditWhole holds
};

}  // namespace qzr::posix
