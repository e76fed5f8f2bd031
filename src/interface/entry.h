// How every export runs its body: the module is started first (once per load, by whichever
// entry point a host calls first, on any thread), a call after shut-down answers its fallback,
// and nothing but the interface's codes crosses the module boundary.
#pragma once
#include <utility>

#include "interface/guard.h"
#include "plugin/lifecycle.h"

namespace qzr {

template <typename R, typename Body>
R Entry(R fallback, Body&& body) noexcept {
  return Guarded(fallback, [&]() -> R {
    ModuleCall call;
    if (!call) return fallback;
    return std::forward<Body>(body)();
  });
}

template <typename Body>
void EntryVoid(Body&& body) noexcept {
  GuardedVoid([&] {
    ModuleCall call;
    if (call) std::forward<Body>(body)();
  });
}

}  // namespace qzr
