// StateReadCache: how the panel's columns read tweaks' live states. A panel asks for several
// fields of every tweak at each listing, many of them in the same INI or CFG file: the cache
// reads each file (each INI query) once and answers the rest from memory until Invalidate,
// which every Save and every new listing calls. Registry values are read live each time.
// Nothing is ever created or written by reading: a missing CFG file stays missing and reads
// as empty, and the INI reads go through profile functions that refuse every write.
// Any thread may call it: hosts ask for fields from background threads.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "apply/tweak_state.h"
#include "definitions/tweak_record.h"

namespace qzr {

class TCFG;

class StateReadCache {
 public:
  StateReadCache();
  ~StateReadCache();
  StateReadCache(const StateReadCache&) = delete;
  StateReadCache& operator=(const StateReadCache&) = delete;

  // The tweak's current value as ReadCurrentValue gives it, read only. May raise ShownError
  // when a CFG file is there but cannot be read.
  CurrentValue Read(const TTWREC& tweak);
  // Forgets everything read: the next reads see the files as they are now.
  void Invalidate();

  // How often the files were read since the cache was made (profile queries and whole CFG
  // files): what shows that a file is read once, not once per field.
  int64_t FileReads() const;

 private:
  class CachedProfile;
  std::shared_ptr<const TCFG> CfgFile(const std::string& path);

  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const TCFG>> cfgFiles_;
  std::unique_ptr<CachedProfile> profile_;
  int64_t cfgReads_ = 0;
};

}  // namespace qzr
