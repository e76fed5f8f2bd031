// Registry changes Windows refused for lack of rights, gathered over one operation and then made
// in one go as administrator: one registry file in the undo files' form, imported elevated, and
// each change read back. A change counts as made only when the read-back shows it.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "apply/save_backup.h"
#include "base/errors.h"
#include "definitions/tweak_record.h"
#include "platform/registry_api.h"

namespace qzr {

// What a Save given an AdminImport raises when it put its refused change off into the import:
// the undo file stays until the import has run. The text is the refusal's.
class PutOffForRights : public ShownError {
 public:
  using ShownError::ShownError;
};

// Whether a refusal under this root may be tried again as administrator. Never HKEY_CURRENT_USER
// (the elevated process may run as another account, whose HKCU is not the user's), nor
// HKEY_CLASSES_ROOT (a view that merges that account's classes with the machine's: the import
// could land where the user's view never shows it).
bool ElevatableRoot(RegHandle root);

struct RefusedChange {
  const TTWREC* Tweak = nullptr;
  SaveAction Action = SaveAction::kWrite;
  std::string Lines;    // the registry file lines that make the change, UTF-8
  std::string KeyName;  // the key's full name, in the system's bytes
  std::string Refusal;  // UTF-8, what the Save would have shown
  WrittenBackup Backup;
};

struct ImportOutcome {
  const TTWREC* Tweak = nullptr;
  bool Applied = false;
  std::string Reason;  // UTF-8, when not applied: what a refused Save shows
};

class AdminImport {
 public:
  void Add(RefusedChange change);
  bool Empty() const;
  // The keys the changes are under, each once, in the order the changes came.
  std::vector<std::string> KeyNames() const;
  // With `yes`, imports every change in one file as administrator over `owner`, then reads each
  // back. A change not made (declined, failed, or read back otherwise) is refused as any Save:
  // its undo file goes when the setting is as the Save found it. The changes are forgotten.
  std::vector<ImportOutcome> Run(bool yes, void* owner);

 private:
  mutable std::mutex mutex_;
  std::vector<RefusedChange> changes_;
};

}  // namespace qzr
