// Text into a buffer the host gave: cut to fit and always terminated, for the narrow and the wide
// entry points alike. A wide cut never leaves half of a surrogate pair at the end; a narrow one
// cuts at the byte, as the interface always has.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace qzr {

// Writes at most `size` characters of `buffer` (the text's first size - 1 and a zero); nothing
// for a null buffer or a size below 1.
template <typename Ch>
void FillText(Ch* buffer, int size, std::basic_string_view<Ch> text) {
  if (!buffer || size <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  if constexpr (sizeof(Ch) == 2) {
    const auto last = n > 0 && n < text.size() ? static_cast<unsigned>(text[n - 1]) : 0u;
    if (last >= 0xD800 && last <= 0xDBFF) --n;
  }
  std::copy_n(text.data(), n, buffer);
  buffer[n] = Ch{};
}

template <typename Ch>
void FillText(Ch* buffer, int size, const std::basic_string<Ch>& text) {
  FillText(buffer, size, std::basic_string_view<Ch>(text));
}

}  // namespace qzr
