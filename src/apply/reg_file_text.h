// The lines of a registry file in the registry editor's Unicode form ("Windows Registry Editor
// Version 5.00", which regedit and reg import read): key headers, value lines of every type, and
// the escaping of names and strings. The lines are built as UTF-8 text, so any name or string
// the registry holds is kept exactly; RegFileBytes makes the file of them: UTF-16 LE with a
// byte-order mark. Every line ends with CR LF.
#pragma once
#include <cstdint>
#include <string>

namespace qzr {

// The first line the registry editor requires.
inline constexpr const char* kRegFileHeader = "Windows Registry Editor Version 5.00\r\n";

// "[HKEY_CURRENT_USER\Software\X]", or "[-HKEY_...]" to delete the key with everything below it.
// `keyName` is UTF-8 and must hold no "]" nor line end: the header has no escapes for them.
std::string RegKeyLine(const std::string& keyName, bool deleteKey = false);
// A value as the registry editor sets it again: "name"=..., or @=... for the default value.
// `name` is UTF-8; `data` the bytes the wide registry calls hand over (strings as UTF-16 LE).
// A REG_SZ becomes quoted text where that gives back the very bytes; DWORDs become dword:;
// binary data hex:, every other type (REG_EXPAND_SZ, REG_MULTI_SZ, REG_QWORD, ...) hex(N): with
// its bytes as they are; lists are wrapped so that no line passes 80 characters.
std::string RegValueLine(const std::string& name, uint32_t type, const std::string& data);
// "name"=- : deletes the value.
std::string RegDeleteValueLine(const std::string& name);
// The file: a byte-order mark, then `text` (UTF-8, from kRegFileHeader on) as UTF-16 LE.
std::string RegFileBytes(const std::string& text);

}  // namespace qzr
