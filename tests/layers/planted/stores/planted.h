// A store that reaches up into the plugin state: the layer check must refuse this include, and
// only this one.
#pragma once
#include "base/errors.h"
#include "plugin/plugin_state.h"
