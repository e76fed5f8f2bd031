// Start-up, configuration and shut-down.
#include "plugin/lifecycle.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

#include "base/path_text.h"
#include "base/write_access.h"
#include "platform/platform.h"
#include "plugin/config.h"
#include "plugin/listing.h"
#include "plugin/os_probe.h"
#include "plugin/plugin_state.h"
#include "plugin/settings_folder.h"
#include "texts/texts.h"
#include "util/no_destructor.h"
#include "util/text.h"

namespace qzr {
namespace {

constexpr size_t kMaxPath = 260;

// The load's life: start-up, the calls under way, shut-down and the release after it. Never
// destroyed, as the state it guards.
struct Life {
  std::mutex Lock;
  int CallsUnderWay = 0;
  bool ReleasePending = false;
  void (*AlsoRelease)() = nullptr;
};

Life& TheLife() {
  static NoDestructor<Life> life;
  return life.get();
}

// Under the life's lock. The state back as at load, its memory freed, but still ended: the
// state itself is never destroyed, and a host may load the module again.
// (Swapped, not assigned: an assigned empty string would keep the old one's buffer.)
void Release(Life& life) {
  life.ReleasePending = false;
  {
    PluginState atLoad;
    atLoad.Ended = true;
    std::swap(State(), atLoad);
  }
  if (auto also = std::exchange(life.AlsoRelease, nullptr)) also();
}

// Under the life's lock.
bool StartedUnlessEnded() {
  PluginState& s = State();
  if (s.Ended) return false;
  if (!s.Started) Startup();
  return true;
}

}  // namespace

void ShowNeedWriteAccess(const std::string& folder) {
  Os().ui->ShowMessage(Format(texts::kNeedWriteAccess, {folder}), std::string(texts::kCaption));
}

bool EnsureStarted() {
  std::lock_guard lock(TheLife().Lock);
  return StartedUnlessEnded();
}

ModuleCall::ModuleCall() {
  Life& life = TheLife();
  std::lock_guard lock(life.Lock);
  if (!StartedUnlessEnded()) return;
  ++life.CallsUnderWay;
  entered_ = true;
}

ModuleCall::~ModuleCall() {
  if (!entered_) return;
  Life& life = TheLife();
  std::lock_guard lock(life.Lock);
  if (--life.CallsUnderWay > 0 || !life.ReleasePending) return;
  // The last call out after shut-down frees what shut-down had to leave to it.
  // A destructor: nothing it frees may throw out of it.
  try {
    Release(life);
  } catch (...) {
  }
}

void Startup() {
  PluginState& s = State();
  s.Started = true;
  s.OSIsNT = !IsWin9x();
  s.ModuleDir = FolderPart(Os().system->ModuleFileName());
  s.XArc = std::make_shared<TXARC>();
}

void SetDefaultParams(const std::string& defaultIniName) {
  std::lock_guard lock(ListingLock());
  PluginState& s = State();
  // Hosts call this more than once (Double Commander before FsInit and after it). Once the
  // listing has built the database in one folder, the settings stay beside it.
  if (s.XArc && s.XArc->Opened && !s.IniDir.empty()) return;
  const std::string name = defaultIniName.substr(0, std::min(defaultIniName.find('\0'), kMaxPath));
  s.IniDir = ChooseSettingsFolder(PathOfAnsi(name), s.ModuleDir);
  if (s.IniDir.empty()) return;
  if (HasWriteAccess(s.IniDir))
    s.Language = ReadLanguage();
  else
    ShowNeedWriteAccess(s.IniDir);
}

uint8_t InterfaceLanguage() {
  std::lock_guard lock(ListingLock());
  return State().Language;
}

void ChooseLanguage(uint8_t language) {
  {
    std::lock_guard lock(ListingLock());
    State().Language = language;
  }
  KeepLanguage();
}

void KeepLanguage() {
  const PluginState& s = State();
  // Never configured: there is no settings file to keep it in.
  if (s.IniDir.empty()) return;
  if (HasWriteAccess(s.IniDir))
    SaveLanguage(s.Language);
  else
    ShowNeedWriteAccess(s.IniDir);
}

void Shutdown(void (*alsoRelease)()) {
  Life& life = TheLife();
  std::lock_guard lock(life.Lock);
  PluginState& s = State();
  const bool started = std::exchange(s.Started, false);
  s.Ended = true;
  // Never configured: nothing was read, so nothing is saved over what the user has. A folder
  // without write access was reported when the language was read or chosen.
  if (started && !s.IniDir.empty() && HasWriteAccess(s.IniDir)) {
    try {
      SaveLanguage(s.Language);
    } catch (const std::exception&) {
      // Refused after all: nothing may be shown while the module unloads, and the rest is freed.
    }
  }
  if (!started && !life.ReleasePending) {
    // Nothing of this load to free (never started, or freed by an earlier shut-down).
    if (alsoRelease && life.CallsUnderWay == 0) alsoRelease();
    return;
  }
  if (alsoRelease) life.AlsoRelease = alsoRelease;
  // A host thread may still be inside a call (a column read at process exit): what it reads
  // stays until it returns.
  if (life.CallsUnderWay == 0)
    Release(life);
  else
    life.ReleasePending = true;
}

}  // namespace qzr
