// The question and the import at an operation's end.
#include "plugin/admin_saves.h"

#include "platform/platform.h"
#include "plugin/host_window.h"
#include "plugin/lifecycle.h"
#include "plugin/tweak_saving.h"
#include "texts/admin_texts.h"
#include "texts/command_texts.h"
#include "util/text.h"

namespace qzr {

std::vector<ImportOutcome> FinishAdminImport(AdminImport& admin) {
  if (admin.Empty()) return {};
  const uint8_t language = InterfaceLanguage();
  const std::vector<std::string> keys = admin.KeyNames();
  std::string listed;
  for (size_t i = 0; i < keys.size() && i < texts::kAskedKeysShown; ++i)
    listed += (i ? "\n" : "") + Os().system->AnsiToUtf8(keys[i]);
  if (keys.size() > texts::kAskedKeysShown)
    listed += "\n" + Format(texts::kAndMore.Pick(language), {std::to_string(keys.size() - texts::kAskedKeysShown)});
  const bool yes = Os().ui->AskYesNo(Format(texts::kAskAdministrator.Pick(language), {listed}),
                                     std::string(texts::kCaption));
  std::vector<ImportOutcome> outcomes = admin.Run(yes, HostWindow());
  for (const ImportOutcome& outcome : outcomes)
    if (outcome.Applied) RecordImportedSave(*outcome.Tweak);
  return outcomes;
}

}  // namespace qzr
