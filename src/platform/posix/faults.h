// Fault injection for the POSIX substitute: a test names an operation (and optionally part of a
// path) and the status code it is to fail with, so "disk full" or "access denied" can be had as
// root. Operations check here before they touch anything.
#pragma once
#include <concepts>
#include <string>

namespace qzr::posix {

class Faults {
 public:
  // Makes `operation` fail with `code` for paths containing `pathPart` (every path when empty),
  // `times` times (every time when negative), once the first `skip` such calls went through.
  static void Fail(const std::string& operation, long code, const std::string& pathPart = "", int times = -1,
                   int skip = 0);
  static void Clear();
  // The status code the operation is to fail with, or 0.
  static long Check(const std::string& operation, const std::string& path = "");
  // The same, with the path made only when some fault is set: every call of the substitute
  // checks, and a registry path is built from its parts.
  template <std::invocable MakePath>
  static long Check(const char* operation, MakePath makePath) {
    return AnySet() ? Check(operation, makePath()) : 0;
  }

 private:
  static bool AnySet();
};

// While one lives, no fault fires on this thread: what runs then stands for another process with
// rights of its own (an import as administrator).
class FaultsSuspended {
 public:
  FaultsSuspended();
  ~FaultsSuspended();
  FaultsSuspended(const FaultsSuspended&) = delete;
  FaultsSuspended& operator=(const FaultsSuspended&) = delete;
};

// Clears every injected fault when it goes out of scope.
class ScopedFaults {
 public:
  ScopedFaults() { Faults::Clear(); }
  ~ScopedFaults() { Faults::Clear(); }
  ScopedFaults(const ScopedFaults&) = delete;
  ScopedFaults& operator=(const ScopedFaults&) = delete;
};

}  // namespace qzr::posix
