// The rest of the platform seam: environment, this module's file name, the processor's code
// segment, the clock with the user's date and time formats, and text conversion for display.
// Paths are path text (UTF-8, see base/path_text.h).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace qzr {

struct LocalTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class SystemApi {
 public:
  virtual ~SystemApi() = default;
  // An environment variable of this process, names matched without regard to letter case
  // as Windows does; nothing when it is not defined.
  virtual std::optional<std::string> GetEnv(const std::string& name) = 0;
  // Full file name of this module (the plugin library itself, not the host executable), as
  // path text.
  virtual std::string ModuleFileName() = 0;
  // The code segment selector of the running thread.
  virtual uint16_t CodeSegmentSelector() = 0;
  virtual LocalTime Now() = 0;
  // The user's long time format and short date format.
  virtual std::string FormatLongTime(const LocalTime& t) = 0;
  virtual std::string FormatShortDate(const LocalTime& t) = 0;
  // The system's message text for a status code ("The system cannot find the path specified.").
  virtual std::string ErrorMessage(long code) = 0;
  // Whether the system's locale uses a double-byte (Far-East) character set: registry names
  // given in characters may then need two bytes each in the ANSI code page.
  virtual bool FarEastLocale() = 0;
  // Upper case by the user's locale for 8-bit text in the system's ANSI code page: what
  // case-insensitive comparison of names (CompareString with NORM_IGNORECASE) comes down to.
  virtual std::string UpperCase(const std::string& text) = 0;
  // Text in the system's ANSI code page, as UTF-8 for display.
  virtual std::string AnsiToUtf8(const std::string& text) = 0;
  // UTF-8 (text typed into a dialog) as the system's ANSI code page; characters the code page
  // lacks become "?".
  virtual std::string Utf8ToAnsi(const std::string& text) = 0;
  // Imports a registry file (`bytes`, the registry editor's Unicode form as the undo files are
  // written: UTF-16 LE with a byte-order mark) with administrator
  // rights, into the 64-bit view on 64-bit Windows, and waits until the import has ended; the
  // system asks the user for consent over `owner` (a window handle or null). Answers kCancelled
  // when the user declined, else the import's exit code (0: imported) or the status of what
  // failed before it ran.
  virtual long ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) = 0;
  // An environment variable as UTF-8 (read wide on Windows), for a path it names: unlike GetEnv's
  // ANSI text it keeps the characters the code page lacks. Nothing when it is not defined.
  virtual std::optional<std::string> GetEnvUtf8(const std::string& name) = 0;
};

}  // namespace qzr
