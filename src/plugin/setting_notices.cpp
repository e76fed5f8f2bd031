// The settings changed during an operation, and what they need sent at its end.
#include "plugin/setting_notices.h"

#include <mutex>
#include <utility>

#include "apply/setting_notice_batch.h"
#include "platform/platform.h"

namespace qzr {
namespace {

// A bulk change saves from the host's thread while columns are read from others; one lock for
// the batch keeps a Save's note and the end's sending apart.
struct PendingNotices {
  std::mutex Mutex;
  SettingNoticeBatch Batch;
};

PendingNotices& Pending() {
  static PendingNotices pending;
  return pending;
}

}  // namespace

void NoteSettingChanged(const TTWREC& tweak) {
  std::lock_guard lock(Pending().Mutex);
  Pending().Batch.Add(tweak);
}

void SendSettingNotices() {
  SettingNoticeBatch batch;
  {
    std::lock_guard lock(Pending().Mutex);
    std::swap(batch, Pending().Batch);
  }
  // Outside the lock: a broadcast waits for other programs' windows. The settings are saved
  // whatever happens here: a notice that cannot go is no failure of the operation.
  try {
    if (!batch.Empty()) batch.Send(*Os().ui);
  } catch (...) {
  }
}

}  // namespace qzr
