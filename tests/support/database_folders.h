// The folders a database build works in, for the tests of the build and of the rebuild: a module
// folder with plugins below it, a settings folder (IniDir) for qzr_plugins and ~trash, the NT
// family; and the module loaded anew over the same folders.
#pragma once
#include <string>

#include "support/test_support.h"

namespace qzr::test {

class DatabaseFoldersTest : public PluginTest {
 protected:
  DatabaseFoldersTest();
  std::string Plugins(const std::string& name = "") const { return module_.path("plugins") + kPathDelim + name; }
  std::string Valid(const std::string& name = "") const { return ini_.path("qzr_plugins") + kPathDelim + name; }
  std::string Trash(const std::string& name = "") const { return ini_.path("~trash") + kPathDelim + name; }
  void Definition(const std::string& name, const std::string& bytes) { WriteBytes(Plugins(name), bytes); }
  // A fresh module state that keeps the folders, the OS family and the language, as a new load
  // of the module would find them.
  void Reload();

  TempFolder module_, ini_;
};

}  // namespace qzr::test
