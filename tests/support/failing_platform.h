// A platform seam that fails on cue: every part delegates to the one in force when it was put in
// place, and the call with a given number (counted across all parts) raises instead. Running a
// scenario once per call number makes every call the plugin makes to the system fail once.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace qzr::test {

// What the failing call raises: a standard exception (as an allocation or a library raises), or
// something that is no std::exception at all.
enum class Raise { kBadAlloc, kNonStandard };

class FailingPlatform {
 public:
  // Puts the wrappers in place of every part of Os() until destroyed; nothing fails until Arm.
  FailingPlatform();
  ~FailingPlatform();
  FailingPlatform(const FailingPlatform&) = delete;
  FailingPlatform& operator=(const FailingPlatform&) = delete;

  // From now on, the `callNumber`-th call (1-based) raises `what`; 0 means none does.
  void Arm(int64_t callNumber, Raise what);
  // Calls made since the last Arm.
  int64_t Calls() const;
  // Whether the armed call was reached (and raised).
  bool Fired() const;
  // The seam call that raised ("RemoveFile"), or empty.
  std::string FiredIn() const;

  struct Parts;

 private:
  std::unique_ptr<Parts> parts_;
  Platform saved_;
};

}  // namespace qzr::test
