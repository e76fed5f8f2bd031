// Calling a WFX module's entry points.
#include "wfx_module.h"

#include <cstring>
#include <vector>

namespace wfxhost {

using namespace qzr::host;

using FsInitFn = int(DCPCALL*)(int, tProgressProc, tLogProc, tRequestProc);
using FsSetDefaultParamsFn = void(DCPCALL*)(FsDefaultParamStruct*);
using FsGetDefRootNameFn = void(DCPCALL*)(char*, int);

WfxModule::WfxModule(const std::string& path) : library_(path) {
  if (!library_.loaded()) {
    error_ = "cannot load " + path + ": " + library_.error();
    return;
  }
  for (const char* name : {"FsInit", "FsSetDefaultParams", "FsGetDefRootName"})
    if (!library_.Symbol(name)) error_ = std::string("the module does not export ") + name;
}

void WfxModule::Start(const std::string& iniName) {
  Entry<FsInitFn>("FsInit")(1, nullptr, nullptr, nullptr);
  FsDefaultParamStruct params{};
  params.size = sizeof params;
  params.PluginInterfaceVersionLow = 0;
  params.PluginInterfaceVersionHi = 2;
  std::string native = NativePath(iniName);
  std::strncpy(params.DefaultIniName, native.c_str(), kMaxPath - 1);
  Entry<FsSetDefaultParamsFn>("FsSetDefaultParams")(&params);
}

std::string WfxModule::RootName(int maxlen) {
  std::vector<char> buffer(static_cast<size_t>(maxlen > 0 ? maxlen : 1) + 1, '\x7f');
  Entry<FsGetDefRootNameFn>("FsGetDefRootName")(buffer.data(), maxlen);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

}  // namespace wfxhost
