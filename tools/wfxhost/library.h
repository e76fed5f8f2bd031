// A loaded library (LoadLibrary / dlopen) that is unloaded when the object goes, so the
// module's shut-down runs when the host is done with it.
#pragma once
#include <string>

namespace wfxhost {

class Library {
 public:
  explicit Library(const std::string& path);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  const std::string& error() const { return error_; }
  void* Symbol(const char* name) const;
  // Unloads now (shut-down runs); later Symbol calls return null.
  void Unload();

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// A path as the platform's loader wants it: under Wine a Unix path becomes a Z: path.
std::string NativePath(const std::string& path);

// What an icon handle is: "icon 32x32" for a real icon, "no icon" otherwise.
std::string DescribeIcon(void* icon);

}  // namespace wfxhost
