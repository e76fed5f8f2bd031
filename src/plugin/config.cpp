// Reading and writing the interface language in qzrtc.ini.
#include "plugin/config.h"

#include "plugin/plugin_state.h"
#include "stores/ini_file.h"

namespace qzr {

std::string SettingsFile() { return State().IniDir + "qzrtc.ini"; }

uint8_t ReadLanguage() {
  TIniFile ini(SettingsFile());
  return static_cast<uint8_t>(ini.ReadInteger("main", "lang", 0) & 0xFF);
}

void SaveLanguage(uint8_t language) {
  TIniFile ini(SettingsFile());
  ini.WriteInteger("main", "lang", language);
}

}  // namespace qzr
