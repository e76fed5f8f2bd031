// The lines of a registry file in the REGEDIT4 form that the Windows registry editor imports:
// key headers, value lines of every type, and the escaping of names and strings. Text is in the
// system's ANSI code page; every line ends with CR LF.
#pragma once
#include <cstdint>
#include <string>

namespace qzr {

// "REGEDIT4": the first line the registry editor requires.
inline constexpr const char* kRegFileHeader = "REGEDIT4\r\n";

// "[HKEY_CURRENT_USER\Software\X]", or "[-HKEY_...]" to delete the key with everything below it.
std::string RegKeyLine(const std::string& keyName, bool deleteKey = false);
// A value as the registry editor sets it again: "name"=..., or @=... for the default value.
// Strings become quoted text where that gives back the very bytes; DWORDs become dword:;
// binary data and every other type become hex: or hex(N): lists, wrapped after 80 columns.
std::string RegValueLine(const std::string& name, uint32_t type, const std::string& data);
// "name"=- : deletes the value.
std::string RegDeleteValueLine(const std::string& name);

}  // namespace qzr
