// Path text and the ANSI code page, through the seam's conversions.
#include "base/path_text.h"

#include "platform/platform.h"

namespace qzr {

std::string PathOfAnsi(const std::string& ansi) { return Os().system->AnsiToUtf8(ansi); }

std::string AnsiOfPath(const std::string& path) { return Os().system->Utf8ToAnsi(path); }

std::optional<std::string> ExactAnsi(const std::string& utf8) {
  std::string ansi = Os().system->Utf8ToAnsi(utf8);
  // A best-fit or default character does not come back as what was given.
  if (Os().system->AnsiToUtf8(ansi) != utf8) return std::nullopt;
  return ansi;
}

}  // namespace qzr
