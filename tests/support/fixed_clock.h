// The real system, but its clock always says 5 March 2024, 14:07 and a chosen second, shown in
// fixed formats: what a time stamp in a written file comes out as is then known in advance.
#pragma once
#include <cstdio>

#include "platform/platform.h"

namespace qzr::test {

class FixedClock final : public SystemApi {
 public:
  FixedClock(SystemApi& real, int second) : real_(real), second_(second) {}
  LocalTime Now() override { return LocalTime{2024, 3, 5, 14, 7, second_}; }
  std::string FormatLongTime(const LocalTime& t) override { return Digits("%02d:%02d:%02d", t.Hour, t.Minute, t.Second); }
  std::string FormatShortDate(const LocalTime& t) override { return Digits("%02d.%02d.%04d", t.Day, t.Month, t.Year); }
  std::optional<std::string> GetEnv(const std::string& name) override { return real_.GetEnv(name); }
  std::string ModuleFileName() override { return real_.ModuleFileName(); }
  uint16_t CodeSegmentSelector() override { return real_.CodeSegmentSelector(); }
  std::string ErrorMessage(long code) override { return real_.ErrorMessage(code); }
  bool FarEastLocale() override { return real_.FarEastLocale(); }
  std::string UpperCase(const std::string& text) override { return real_.UpperCase(text); }
  std::string AnsiToUtf8(const std::string& text) override { return real_.AnsiToUtf8(text); }
  std::string Utf8ToAnsi(const std::string& text) override { return real_.Utf8ToAnsi(text); }

 private:
  static std::string Digits(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
  }
  SystemApi& real_;
  int second_;
};

}  // namespace qzr::test
