// The real system, but its clock always says 5 March 2024, 14:07 and a chosen second, shown in
// fixed formats: what a time stamp in a written file comes out as is then known in advance.
#pragma once
#include <cstdio>

#include "support/delegating_platform.h"

namespace qzr::test {

class FixedClock final : public DelegatingSystem {
 public:
  FixedClock(SystemApi& real, int second) : DelegatingSystem(real), second_(second) {}
  LocalTime Now() override { return LocalTime{2024, 3, 5, 14, 7, second_}; }
  std::string FormatLongTime(const LocalTime& t) override { return Digits("%02d:%02d:%02d", t.Hour, t.Minute, t.Second); }
  std::string FormatShortDate(const LocalTime& t) override { return Digits("%02d.%02d.%04d", t.Day, t.Month, t.Year); }

 private:
  static std::string Digits(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
  }
  int second_;
};

}  // namespace qzr::test
