// POSIX substitute for environment, module name, clock and messages.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#include "platform/posix/reg_import.h"
#include "util/text.h"

extern char** environ;

namespace qzr::posix {

std::optional<std::string> System::GetEnv(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (const char* exact = std::getenv(name.c_str())) return std::string(exact);
  // Windows matches names without regard to case. The expansion asks once per reference, mostly
  // for names that are not set, so each entry is given up at its first differing byte.
  for (char** e = environ; e && *e; ++e) {
    const char* entry = *e;
    size_t i = 0;
    while (i < name.size() && entry[i] != '\0' && entry[i] != '=' && LowerAscii(entry[i]) == LowerAscii(name[i])) ++i;
    if (i == name.size() && entry[i] == '=') return std::string(entry + i + 1);
  }
  return std::nullopt;
}

// A Linux host's environment is UTF-8 already.
std::optional<std::string> System::GetEnvUtf8(const std::string& name) { return GetEnv(name); }

std::string System::ModuleFileName() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&NativePlatformParts), &info) == 0 || !info.dli_fname) return {};
  char resolved[4096];
  if (realpath(info.dli_fname, resolved)) return resolved;
  return info.dli_fname;
}

uint16_t System::CodeSegmentSelector() {
#if defined(__i386__) || defined(__x86_64__)
  uint16_t cs = 0;
  __asm__("mov %%cs, %0" : "=r"(cs));
  return cs;
#else
  return 0;
#endif
}

LocalTime System::Now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// A Linux host has no Windows regional settings; these are the formats the substitute stands by.
std::string System::FormatLongTime(const LocalTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
  return buffer;
}

std::string System::FormatShortDate(const LocalTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", t.Day, t.Month, t.Year);
  return buffer;
}

std::string System::ErrorMessage(long code) {
  switch (code) {
    case win::kFileNotFound: return "The system cannot find the file specified.";
    case win::kPathNotFound: return "The system cannot find the path specified.";
    case win::kAccessDenied: return "Access is denied.";
    case win::kSharingViolation: return "The process cannot access the file because it is being used by another process.";
    case win::kDiskFull: return "There is not enough space on the disk.";
    case win::kWriteFault: return "The system cannot write to the specified device.";
    case win::kFileExists: return "The file exists.";
    case win::kBadPathName: return "The specified path is invalid.";
    default: return "System error " + std::to_string(code) + ".";
  }
}

// The substitute registry reports name lengths in bytes already.
bool System::FarEastLocale() { return false; }

// On Linux hosts the "A" functions carry UTF-8 already.
std::string System::AnsiToUtf8(const std::string& text) { return text; }
std::string System::Utf8ToAnsi(const std::string& text) { return text; }

// Names on a Linux host are UTF-8: ASCII letters and the Cyrillic alphabet are folded, which
// covers the languages the system speaks.
std::string System::UpperCase(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    auto b = static_cast<unsigned char>(out[i]);
    if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 32);
    } else if (b == 0xD0 && i + 1 < out.size()) {
      auto c = static_cast<unsigned char>(out[i + 1]);
      if (c >= 0xB0 && c <= 0xBF) out[i + 1] = static_cast<char>(c - 0x20);  // а..п
      ++i;
    } else if (b == 0xD1 && i + 1 < out.size()) {
      auto c = static_cast<unsigned char>(out[i + 1]);
      if (c >= 0x80 && c <= 0x8F) {  // р..я
        out[i] = static_cast<char>(0xD0);
        out[i + 1] = static_cast<char>(c + 0x20);
      } else if (c == 0x91) {  // ё
        out[i] = static_cast<char>(0xD0);
        out[i + 1] = static_cast<char>(0x81);
      }
      ++i;
    }
  }
  return out;
}

long System::ImportRegistryFileAsAdministrator(const std::string& bytes, void*) {
  if (long f = Faults::Check("ElevatedImport")) return f;
  // Into the process's own substitute registry, past whatever a test put in front of it: the
  // import stands for reg.exe, which reads no wrapper of this module.
  FaultsSuspended administrator;
  return ImportRegFile(bytes, *NativePlatformParts().registry);
}

}  // namespace qzr::posix
