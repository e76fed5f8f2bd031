// Host calls into the linked-in entry points.
#include "exports/host_calls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/platform.h"
#include "interface/exports.h"

namespace qzr::test {
namespace {

std::string Remote(const std::string& name) { return std::string(1, kPathDelim) + name; }

}  // namespace

void HostConfigure(const std::string& iniName) {
  EXPECT_EQ(FsInit(1, nullptr, nullptr, nullptr), 0);
  host::FsDefaultParamStruct dps{};
  dps.size = sizeof dps;
  std::memcpy(dps.DefaultIniName, iniName.c_str(), std::min(iniName.size() + 1, sizeof dps.DefaultIniName));
  FsSetDefaultParams(&dps);
}

std::vector<std::string> HostList() {
  std::vector<std::string> names;
  host::FindData found{};
  char path[] = "\\";
  void* handle = FsFindFirst(path, &found);
  if (handle == reinterpret_cast<void*>(intptr_t{-1})) return names;
  names.emplace_back(found.cFileName);
  for (int more; (more = FsFindNext(handle, &found)) != 0;) {
    EXPECT_EQ(more, -1);
    names.emplace_back(found.cFileName);
  }
  EXPECT_EQ(FsFindClose(handle), 0);
  return names;
}

int HostIcon(const std::string& name) {
  std::string remote = Remote(name);
  void* icon = nullptr;
  return FsExtractCustomIcon(remote.data(), 0, &icon);
}

int HostGetFile(const std::string& name, const std::string& localName) {
  std::string remote = Remote(name), local = localName;
  return FsGetFile(remote.data(), local.data(), 0, nullptr);
}

int HostOpen(const std::string& name) {
  std::string remote = Remote(name);
  char verb[] = "open";
  return FsExecuteFile(nullptr, remote.data(), verb);
}

}  // namespace qzr::test
