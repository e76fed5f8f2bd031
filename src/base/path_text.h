// Paths are UTF-8 text everywhere in the plugin and at the file and profile seam, so that a
// folder named in any script can be reached (on Windows the backend calls the W functions). A
// name or text defined in the ANSI code page becomes path text here, and path text becomes ANSI
// again where the ANSI entry points, the reports or descript.ion need it. On POSIX the ANSI code
// page is UTF-8 and every conversion here leaves the bytes as they are.
#pragma once
#include <optional>
#include <string>

namespace qzr {

// Text in the system's ANSI code page as path text.
std::string PathOfAnsi(const std::string& ansi);
// Path text in the ANSI code page; a character the code page lacks becomes "?". For what is
// shown or written into an ANSI file, never for a path to open.
std::string AnsiOfPath(const std::string& path);
// UTF-8 text in the ANSI code page only when every character has its own exact form there (no
// best-fit "a" for "ā", no "?"): a wide name without an ANSI form names nothing.
std::optional<std::string> ExactAnsi(const std::string& utf8);

}  // namespace qzr
