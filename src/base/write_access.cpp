// The write test. The probe's name is random so two hosts testing one folder do not meet.
#include "base/write_access.h"

#include <cstdio>
#include <random>

#include "base/transient_file.h"
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
  TransientFile probe(folder + ProbeName());
  const bool created = Os().files->CreateProbeFile(probe.Path()) == win::kSuccess;
  probe.SetMade(created);
  return created;
}

}  // namespace qzr
