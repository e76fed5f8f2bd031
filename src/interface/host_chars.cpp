// The host's strings, narrow and wide, to and from the module's own.
#include "interface/host_chars.h"

#include "base/path_text.h"
#include "platform/platform.h"
#include "util/utf16.h"

namespace qzr {

std::string HostChars<char>::TextIn(const char* text) { return Os().system->AnsiToUtf8(text); }
std::string HostChars<char>::PathIn(const char* path) { return PathOfAnsi(path); }
std::string HostChars<char>::TextOut(const std::string& utf8) { return Os().system->Utf8ToAnsi(utf8); }

std::optional<std::string> HostChars<char16_t>::AnsiIn(const char16_t* name) { return ExactAnsi(TextIn(name)); }
std::string HostChars<char16_t>::TextIn(const char16_t* text) { return Utf16ToUtf8(text); }
std::u16string HostChars<char16_t>::NameOut(const std::string& ansi) {
  return Utf8ToUtf16(Os().system->AnsiToUtf8(ansi));
}
std::u16string HostChars<char16_t>::TextOut(const std::string& utf8) { return Utf8ToUtf16(utf8); }

}  // namespace qzr
