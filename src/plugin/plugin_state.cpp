// The single instance of the module's global state.
#include "plugin/plugin_state.h"

#include "util/no_destructor.h"

namespace qzr {

PluginState& State() {
  static NoDestructor<PluginState> state;
  return state.get();
}

void ResetState() { State() = PluginState{}; }

}  // namespace qzr
