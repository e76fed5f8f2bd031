// wfxhost: a command-line host for WFX modules. It loads a module, configures it as a file
// manager does, and runs one command on it.
//
//   wfxhost [--ini FILE] MODULE [root]
//
// FILE is the settings file the host suggests (DefaultIniName); the module keeps its own
// settings and database in that file's folder. Default: wfxhost-settings/wfx.ini beside wfxhost.
#include <cstdio>
#include <string>
#include <vector>

#include "library.h"
#include "platform/platform.h"
#include "util/text.h"
#include "wfx_module.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: wfxhost [--ini FILE] MODULE [root]\n");
  return 2;
}

std::string DefaultIniName(const char* argv0) {
  std::string exe = wfxhost::NativePath(argv0);
  std::string folder = qzr::JoinPath(qzr::FolderPart(exe).empty() ? "." : qzr::FolderPart(exe), "wfxhost-settings");
  qzr::Os().files->MakeDirectory(folder);
  return qzr::JoinPath(folder, "wfx.ini");
}

// The language the module read, as it stands in its settings file.
std::string LanguageLine(const std::string& iniName) {
  std::string settings = qzr::JoinPath(qzr::FolderPart(wfxhost::NativePath(iniName)), "qzrtc.ini");
  std::string value = qzr::Os().profile->GetString(std::string("main"), std::string("lang"), "", 2048, settings);
  std::string name = value == "0" || value.empty() ? "English" : value == "1" ? "Russian" : "no text";
  return "Interface language: " + (value.empty() ? std::string("0") : value) + " (" + name + ")";
}

int RunRoot(wfxhost::WfxModule& module, const std::string& iniName) {
  std::printf("%s\n", module.RootName().c_str());
  std::printf("%s\n", LanguageLine(iniName).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string iniName;
  if (args.size() >= 2 && args[0] == "--ini") {
    iniName = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  if (iniName.empty()) iniName = DefaultIniName(argv[0]);

  wfxhost::WfxModule module(args[0]);
  if (!module.ok()) {
    std::fprintf(stderr, "wfxhost: %s\n", module.error().c_str());
    return 1;
  }
  module.Start(iniName);
  std::string command = args.size() > 1 ? args[1] : "root";
  int rc = 2;
  if (command == "root") rc = RunRoot(module, iniName);
  else return Usage();
  module.Unload();
  return rc;
}
