// The write test. The probe's name is random so two hosts testing one folder do not meet.
#include "core/write_access.h"

#include <cstdio>
#include <random>

#include "platform/platform.h"

namespace qzr {
namespace {

std::string ProbeName() {
  static std::minstd_rand generator{std::random_device{}()};
  std::uniform_int_distribution<long long> pick(4000, 2147483646);
  char name[32];
  std::snprintf(name, sizeof name, "%012llX.tmp", pick(generator));
  return name;
}

}  // namespace

bool HasWriteAccess(const std::string& directory) {
  std::string folder = directory;
  if (folder.empty() || folder.back() != kPathDelim) folder += kPathDelim;
  // The probe goes again whatever happens once it exists: a stray file would be left in the
  // user's folder.
  struct Probe {
    std::string path;
    bool created = false;
    ~Probe() {
      if (!created) return;
      try {
        Os().files->RemoveFile(path);
      } catch (...) {
      }
    }
  } probe{folder + ProbeName()};
  probe.created = Os().files->CreateProbeFile(probe.path) == win::kSuccess;
  return probe.created;
}

}  // namespace qzr
