// The registry functions of the platform seam: the nine calls the registry store makes, the
// value enumeration, and the wide calls the undo files read and restore a tree with,
// shaped like their Win32 originals and answering with Windows status codes. On 64-bit Windows
// they address the 64-bit registry view whatever the module's own bitness: the one Windows reads.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

namespace qzr {

// A key handle as the platform hands it out; 0 is "no key". The predefined roots carry their
// Windows values (sign-extended on 64-bit builds, as HKEY holds them).
using RegHandle = std::uintptr_t;

inline constexpr RegHandle RootHandle(uint32_t code) {
  return static_cast<RegHandle>(static_cast<std::intptr_t>(static_cast<int32_t>(code)));
}
inline constexpr RegHandle kHkeyClassesRoot = RootHandle(0x80000000u);
inline constexpr RegHandle kHkeyCurrentUser = RootHandle(0x80000001u);
inline constexpr RegHandle kHkeyLocalMachine = RootHandle(0x80000002u);
inline constexpr RegHandle kHkeyUsers = RootHandle(0x80000003u);
inline constexpr RegHandle kHkeyCurrentConfig = RootHandle(0x80000005u);

// The predefined roots with the names the registry editor shows them by.
inline constexpr std::pair<RegHandle, const char*> kRootKeys[] = {
    {kHkeyClassesRoot, "HKEY_CLASSES_ROOT"}, {kHkeyCurrentUser, "HKEY_CURRENT_USER"},
    {kHkeyLocalMachine, "HKEY_LOCAL_MACHINE"}, {kHkeyUsers, "HKEY_USERS"},
    {kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG"}};

// What RegQueryInfoKeyA reports of a key (the fields the store reads).
struct RegKeyInfo {
  uint32_t SubKeyCount = 0;
  uint32_t MaxSubKeyNameLength = 0;
  uint32_t ValueCount = 0;
  uint32_t MaxValueNameLength = 0;
  uint32_t MaxDataLength = 0;
  uint64_t LastWriteTime = 0;
};

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;
  // RegCreateKeyExA: creates missing keys on the path.
  virtual long CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) = 0;
  // RegOpenKeyExA.
  virtual long OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) = 0;
  // RegCloseKey; predefined roots are never closed.
  virtual long CloseKey(RegHandle key) = 0;
  // RegQueryValueExA. `type` and `data` may be null; `size` is in/out (bytes) and may be null
  // only when `data` is null. Too small a buffer gives kMoreData and the needed size.
  virtual long QueryValue(RegHandle key, const std::string& name, uint32_t* type, uint8_t* data,
                          uint32_t* size) = 0;
  // RegSetValueExA.
  virtual long SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                        uint32_t size) = 0;
  // RegDeleteValueA.
  virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
  // RegDeleteKeyA: refuses a key that still has sub-keys.
  virtual long DeleteKey(RegHandle base, const std::string& subKey) = 0;
  // RegEnumKeyExA: `length` is in/out, in characters, without the terminating zero on return.
  virtual long EnumKey(RegHandle key, uint32_t index, char* name, uint32_t* length) = 0;
  // RegQueryInfoKeyA.
  virtual long QueryInfoKey(RegHandle key, RegKeyInfo* info) = 0;
  // RegEnumValueA: the value at `index` with its name, type and data. `nameLength` is in/out in
  // characters (without the terminating zero on return); `size` is in/out in bytes. Strings come
  // in the ANSI code page. Too small a buffer gives kMoreData; past the last value, kNoMoreItems.
  virtual long EnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type,
                         uint8_t* data, uint32_t* size) = 0;

  // The wide calls, for names and text outside the ANSI code page (the undo files read and write
  // a tree with them). Names are UTF-16; data is the bytes the W calls hand over, so string types
  // (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) come and go as UTF-16 LE with their terminating zeros.
  // Opens and creates carry the view flag as the 8-bit ones do; the rest take their handle's.
  // RegOpenKeyExW.
  virtual long OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) = 0;
  // RegCreateKeyExW: creates missing keys on the path.
  virtual long CreateKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) = 0;
  // RegEnumKeyExW with a buffer as large as the name needs: the sub-key at `index`; past the
  // last, kNoMoreItems.
  virtual long EnumKeyW(RegHandle key, uint32_t index, std::u16string* name) = 0;
  // RegEnumValueW with buffers as large as the value needs: its name, type and data; past the
  // last, kNoMoreItems.
  virtual long EnumValueW(RegHandle key, uint32_t index, std::u16string* name, uint32_t* type, std::string* data) = 0;
  // RegQueryValueExW with a buffer as large as the value needs.
  virtual long QueryValueW(RegHandle key, const std::u16string& name, uint32_t* type, std::string* data) = 0;
  // RegSetValueExW.
  virtual long SetValueW(RegHandle key, const std::u16string& name, uint32_t type, const std::string& data) = 0;
  // RegDeleteKeyExW: refuses a key that still has sub-keys.
  virtual long DeleteKeyW(RegHandle base, const std::u16string& subKey) = 0;
};

}  // namespace qzr
