// Windows takes names, paths and values as zero-terminated strings: a zero byte inside one ends
// it there. The substitutes take std::string and cut it the same way before they look at it.
#pragma once
#include <optional>
#include <string>

namespace qzr::posix {

inline std::string ZeroTerminated(const std::string& text) { return text.substr(0, text.find('\0')); }

inline std::optional<std::string> ZeroTerminated(const std::optional<std::string>& text) {
  return text ? std::optional<std::string>(ZeroTerminated(*text)) : std::nullopt;
}

}  // namespace qzr::posix
