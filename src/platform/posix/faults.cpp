// The table of injected faults.
#include "platform/posix/faults.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "util/no_destructor.h"

namespace qzr::posix {
namespace {

struct Fault {
  std::string operation;
  long code;
  std::string pathPart;
  int times;
  int skip;
};

std::mutex& TableMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<Fault>& Table() {
  static NoDestructor<std::vector<Fault>> table;
  return table.get();
}

thread_local int suspended = 0;

// How many faults the table holds, read without the lock by the calls that check.
std::atomic<size_t> tableSize{0};

}  // namespace

FaultsSuspended::FaultsSuspended() { ++suspended; }
FaultsSuspended::~FaultsSuspended() { --suspended; }

void Faults::Fail(const std::string& operation, long code, const std::string& pathPart, int times, int skip) {
  std::lock_guard lock(TableMutex());
  Table().push_back(Fault{operation, code, pathPart, times, skip});
  tableSize = Table().size();
}

void Faults::Clear() {
  std::lock_guard lock(TableMutex());
  Table().clear();
  tableSize = 0;
}

bool Faults::AnySet() { return suspended == 0 && tableSize > 0; }

long Faults::Check(const std::string& operation, const std::string& path) {
  if (!AnySet()) return 0;
  std::lock_guard lock(TableMutex());
  for (Fault& f : Table()) {
    if (f.operation != operation || f.times == 0) continue;
    if (!f.pathPart.empty() && path.find(f.pathPart) == std::string::npos) continue;
    if (f.skip > 0) {
      --f.skip;
      continue;
    }
    if (f.times > 0) --f.times;
    return f.code;
  }
  return 0;
}

}  // namespace qzr::posix
