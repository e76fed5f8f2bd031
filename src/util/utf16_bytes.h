// UTF-16 text as the bytes the registry's W calls and Unicode files hold it in: little-endian,
// two bytes a unit, on any host.
#pragma once
#include <string>
#include <string_view>

namespace qzr {

std::string Utf16LeBytes(std::u16string_view text);
// An odd last byte, which no UTF-16 unit holds, is left out.
std::u16string Utf16FromLeBytes(std::string_view bytes);

}  // namespace qzr
