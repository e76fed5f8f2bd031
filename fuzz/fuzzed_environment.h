// The environment of an expansion target: variables taken from the input's leading lines, seen
// through the platform seam in place of the process's own.
#pragma once
#include <map>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace qzr::fuzz {

// The process's own system part, but with the environment given by the input.
class FuzzedEnvironment final : public SystemApi {
 public:
  explicit FuzzedEnvironment(SystemApi& base) : base_(base) {}
  std::map<std::string, std::string> variables;  // by upper-cased name

  // Takes the input's leading lines of the form NAME=VALUE (up to 16) as the variables, in place
  // of the ones before; the rest of the input is what is left.
  std::string_view TakeVariables(std::string_view input);

  std::optional<std::string> GetEnv(const std::string& name) override;
  std::string ModuleFileName() override { return base_.ModuleFileName(); }
  uint16_t CodeSegmentSelector() override { return base_.CodeSegmentSelector(); }
  LocalTime Now() override { return base_.Now(); }
  std::string FormatLongTime(const LocalTime& t) override { return base_.FormatLongTime(t); }
  std::string FormatShortDate(const LocalTime& t) override { return base_.FormatShortDate(t); }
  std::string ErrorMessage(long code) override { return base_.ErrorMessage(code); }
  bool FarEastLocale() override { return base_.FarEastLocale(); }
  std::string UpperCase(const std::string& text) override { return base_.UpperCase(text); }
  std::string AnsiToUtf8(const std::string& text) override { return base_.AnsiToUtf8(text); }
  std::string Utf8ToAnsi(const std::string& text) override { return base_.Utf8ToAnsi(text); }
  long ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) override {
    return base_.ImportRegistryFileAsAdministrator(bytes, owner);
  }
  std::optional<std::string> GetEnvUtf8(const std::string& name) override { return GetEnv(name); }

 private:
  SystemApi& base_;
};

}  // namespace qzr::fuzz
