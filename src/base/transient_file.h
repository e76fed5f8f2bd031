// A file the plugin makes for a moment in someone else's folder (a temporary copy, the write
// test's probe): removed when the scope ends, also while a failure unwinds, unless it was kept.
#pragma once
#include <string>
#include <utility>

namespace qzr {

class TransientFile {
 public:
  explicit TransientFile(std::string path) : path_(std::move(path)) {}
  ~TransientFile();
  TransientFile(const TransientFile&) = delete;
  TransientFile& operator=(const TransientFile&) = delete;

  const std::string& Path() const { return path_; }
  // Whether there may be a file to remove at the end (set once a call may have made it).
  void SetMade(bool made) { made_ = made; }
  // The file has become something that stays (a temporary copy renamed over its target).
  void Keep() { made_ = false; }

 private:
  std::string path_;
  bool made_ = false;
};

}  // namespace qzr
