// The settings folder's choice.
#include "plugin/settings_folder.h"

#include "platform/platform.h"
#include "util/text.h"

namespace qzr {
namespace {

// With its delimiter: both systems take a folder so, and "C:\\" stays the drive's root.
bool FolderExists(const std::string& folder) {
  const uint32_t attributes = Os().files->GetAttributes(folder);
  return attributes != win::kInvalidAttributes && (attributes & win::kAttrDirectory);
}

}  // namespace

std::string ChooseSettingsFolder(const std::string& suggestedIni, const std::string& moduleDir) {
  const std::string suggested = FolderPart(suggestedIni);
  // A name without any folder would put the settings and the database wherever the host's
  // current folder happens to be; the module's own folder is the stable place for them.
  if (suggested.empty()) return moduleDir;
  if (FolderExists(suggested)) return suggested;
  if (std::optional<std::string> commanderIni = Os().system->GetEnvUtf8("COMMANDER_INI")) {
    const std::string hosts = FolderPart(*commanderIni);
    if (!hosts.empty() && FolderExists(hosts)) return hosts;
  }
  if (suggested.find('?') != std::string::npos) return moduleDir;
  return suggested;
}

}  // namespace qzr
