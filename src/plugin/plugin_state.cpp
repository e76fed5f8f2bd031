// The single instance of the module's global state.
#include "plugin/plugin_state.h"

namespace qzr {

PluginState& State() {
  static PluginState state;
  return state;
}

void ResetState() { State() = PluginState{}; }

}  // namespace qzr
