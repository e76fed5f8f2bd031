// The database folders fixture.
#include "support/database_folders.h"

#include <filesystem>

#include "plugin/plugin_state.h"

namespace qzr::test {

DatabaseFoldersTest::DatabaseFoldersTest() {
  State().ModuleDir = module_.dir();
  State().IniDir = ini_.dir();
  State().OSIsNT = true;
  std::filesystem::create_directory(Plugins());
}

void DatabaseFoldersTest::Reload() {
  PluginState kept = State();
  ResetState();
  State().ModuleDir = kept.ModuleDir;
  State().IniDir = kept.IniDir;
  State().OSIsNT = kept.OSIsNT;
  State().Language = kept.Language;
}

}  // namespace qzr::test
