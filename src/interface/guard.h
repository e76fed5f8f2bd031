// Nothing may cross the module boundary but the interface's result codes: every export runs
// its body through Guarded, which turns any escaping exception into the export's fallback.
#pragma once
#include <utility>

namespace qzr {

template <typename R, typename Body>
R Guarded(R fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

template <typename Body>
void GuardedVoid(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

}  // namespace qzr
