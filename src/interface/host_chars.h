// What the narrow and the wide entry points differ in: the characters the host's strings are
// made of. One portable function serves both, through HostChars<char> (the ANSI code page) or
// HostChars<char16_t> (UTF-16). Inside, tweak names are ANSI (as the definitions hold them) and
// verbs, paths and column texts UTF-8.
#pragma once
#include <optional>
#include <string>

namespace qzr {

template <typename Ch>
struct HostChars;

template <>
struct HostChars<char> {
  // A tweak name (or a choice's text) as the host passes it, in the ANSI code page.
  static std::optional<std::string> AnsiIn(const char* name) { return std::string(name); }
  // A verb or command line as the host passes it, as UTF-8.
  static std::string TextIn(const char* text);
  // A local path as the host passes it, as path text.
  static std::string PathIn(const char* path);
  // A tweak name for the host's record.
  static std::string NameOut(const std::string& ansi) { return ansi; }
  // A UTF-8 text for the host's buffer.
  static std::string TextOut(const std::string& utf8);
};

template <>
struct HostChars<char16_t> {
  // A wide name (or text) that has no exact ANSI form names no tweak: nothing, never a best fit
  // or "?".
  static std::optional<std::string> AnsiIn(const char16_t* name);
  static std::string TextIn(const char16_t* text);
  static std::string PathIn(const char16_t* path) { return TextIn(path); }
  static std::u16string NameOut(const std::string& ansi);
  static std::u16string TextOut(const std::string& utf8);
};

}  // namespace qzr
