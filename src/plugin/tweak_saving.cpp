// Save on the module's state.
#include "plugin/tweak_saving.h"

#include "apply/apply_save.h"
#include "apply/undo_files.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"

namespace qzr {
namespace {

// A failed save may have changed part of what it meant to (a key made, the value refused).
class ForgetReadsAtEnd {
 public:
  ~ForgetReadsAtEnd() { PanelReads().Invalidate(); }
};

}  // namespace

void SaveTweakOfState(const TTWREC& tweak, int radioIndex, const std::string& typedValue) {
  ForgetReadsAtEnd forget;
  SaveTweak(tweak, radioIndex, typedValue, State().OSIsNT, UndoFolder(State().IniDir));
}

}  // namespace qzr
