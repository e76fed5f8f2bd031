// A process-wide object that is made on first use and never destroyed. The module's shut-down
// runs from the loader (library detach, or at process exit after the C++ runtime has already
// destroyed its static objects), so everything it reaches must outlive every static destructor.
#pragma once
#include <new>
#include <utility>

namespace qzr {

template <typename T>
class NoDestructor {
 public:
  template <typename... Args>
  explicit NoDestructor(Args&&... args) {
    new (storage_) T(std::forward<Args>(args)...);
  }
  NoDestructor(const NoDestructor&) = delete;
  NoDestructor& operator=(const NoDestructor&) = delete;

  T& get() { return *std::launder(reinterpret_cast<T*>(storage_)); }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace qzr
