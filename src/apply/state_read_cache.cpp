// The panel's read cache.
#include "apply/state_read_cache.h"

#include "base/file_replace.h"
#include "platform/platform.h"
#include "stores/cfg.h"

namespace qzr {

// The platform's profile functions, each distinct query answered once; every write refused
// (a flush, which changes nothing, is let through as done).
class StateReadCache::CachedProfile final : public ProfileApi {
 public:
  std::string GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                        const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) override {
    Query query{section, key, defaultValue, bufferSize, fileName};
    std::lock_guard lock(mutex_);
    auto it = answers_.find(query);
    if (it != answers_.end()) return it->second;
    ++reads_;
    std::string answer = Os().profile->GetString(section, key, defaultValue, bufferSize, fileName);
    answers_.emplace(std::move(query), answer);
    return answer;
  }
  bool WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                   const std::optional<std::string>& value, const std::string& /*fileName*/) override {
    return !section && !key && !value;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    answers_.clear();
  }
  int64_t Reads() const {
    std::lock_guard lock(mutex_);
    return reads_;
  }

 private:
  using Query = std::tuple<std::optional<std::string>, std::optional<std::string>, std::string, uint32_t, std::string>;
  mutable std::mutex mutex_;
  std::map<Query, std::string> answers_;
  int64_t reads_ = 0;
};

StateReadCache::StateReadCache() : profile_(std::make_unique<CachedProfile>()) {}

StateReadCache::~StateReadCache() = default;

std::shared_ptr<const TCFG> StateReadCache::CfgFile(const std::string& path) {
  // Held while the file is read, so that an Invalidate between the read and the store cannot
  // leave the old content behind.
  std::lock_guard lock(mutex_);
  auto it = cfgFiles_.find(path);
  if (it != cfgFiles_.end()) return it->second;
  ++cfgReads_;
  std::shared_lock replacing(FileReplaceLock());
  auto cfg = std::make_shared<const TCFG>(path, CfgMissing::kReadAsEmpty);
  cfgFiles_.emplace(path, cfg);
  return cfg;
}

CurrentValue StateReadCache::Read(const TTWREC& tweak) {
  switch (tweak.PlugType) {
    case kPlugReg: return ReadRegistryValue(tweak);
    case kPlugIni: return ReadIniValue(tweak, *profile_);
    case kPlugCfg: return ReadCfgValue(tweak, *CfgFile(TweakFilePath(tweak)));
    default: return CurrentValue{};
  }
}

void StateReadCache::Invalidate() {
  {
    std::lock_guard lock(mutex_);
    cfgFiles_.clear();
  }
  profile_->Clear();
}

int64_t StateReadCache::FileReads() const {
  std::lock_guard lock(mutex_);
  return cfgReads_ + profile_->Reads();
}

}  // namespace qzr
