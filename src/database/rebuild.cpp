// The rebuild command.
#include "database/rebuild.h"

#include <string>

#include "database/config_plugin.h"
#include "database/plugin_database.h"
#include "platform/platform.h"
#include "texts/rebuild_texts.h"
#include "util/text.h"

namespace qzr {
namespace {

// The rejected definitions come back from the ~trash folder the database build files them into
// (below IniDir, which is the module's folder only when the settings file lies beside it). A
// definition already in plugins is the user's current one: a copy from an earlier build never
// replaces it, or a definition fixed since would be undone.
void CopyRejectedBack(const std::string& iniDir, const std::string& plugins) {
  const std::string trash = TrashFolder(iniDir);
  for (const std::string& name : FindTweakFiles(trash)) Os().files->Copy(trash + name, plugins + name, true);
}

}  // namespace

void RebuildBase(const DatabaseSetup& setup) {
  const std::string plugins = PluginsFolder(setup.ModuleDir);
  CopyRejectedBack(setup.IniDir, plugins);
  ForceDeleteFile(plugins + "descript.ion");

  int count = 0;
  for (const std::string& name : FindTweakFiles(plugins))
    if (MakeConfigPlugin(plugins + name, setup.Language)) ++count;

  const std::string_view message = texts::kRebuildDone.Pick(setup.Language);
  if (!message.empty())
    Os().ui->ShowMessage(Format(message, {std::to_string(count)}), std::string(texts::kCaption));
}

}  // namespace qzr
