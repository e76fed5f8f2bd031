// The linked-in entry points called the way a host calls them, with names as it passes them
// ("\" and the entry's name) and results as it sees them.
#pragma once
#include <string>
#include <vector>

namespace qzr::test {

// FsInit, then FsSetDefaultParams with `iniName` as the suggested settings file.
void HostConfigure(const std::string& iniName);
// FsFindFirst to FsFindClose: the names as the find records show them (up to their zero byte);
// empty when FsFindFirst answers "no handle".
std::vector<std::string> HostList();
// FsExtractCustomIcon, FsGetFile and FsExecuteFile "open" on "\" + name.
int HostIcon(const std::string& name);
int HostGetFile(const std::string& name, const std::string& localName);
int HostOpen(const std::string& name);

}  // namespace qzr::test
