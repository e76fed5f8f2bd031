// Small byte-string helpers shared by every layer: ASCII case folding, trimming, comparison.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qzr {

inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperAscii(std::string_view s);
bool EqualsNoCaseAscii(std::string_view a, std::string_view b);
// Orders the way NTFS lists names: case-insensitive, then by bytes.
bool LessNoCaseAscii(std::string_view a, std::string_view b);

// Removes characters with codes up to 32 from both ends (blanks and control characters).
std::string_view TrimControl(std::string_view s);

// The folder part of a path, up to and including the last delimiter (or colon on Windows);
// empty when there is none.
std::string FolderPart(std::string_view path);
// The text after the last delimiter (or colon on Windows); all of it when there is none.
std::string FileNamePart(std::string_view path);
// The parts of a registry key path between backslashes; empty parts (a leading, doubled or
// trailing backslash) count for nothing, as the registry reads them.
std::vector<std::string> KeyPathParts(std::string_view path);
// A folder with a trailing delimiter, then `name`.
std::string JoinPath(std::string_view folder, std::string_view name);
// Whether a path starts at a root (a delimiter, or on Windows a drive such as "C:"), rather than
// in some current folder.
bool IsRootedPath(std::string_view path);

// Fills each "%s" or "%d" of `pattern` with the next argument, as given (numbers are passed as
// their text); the arguments' own "%" signs are left alone.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace qzr
