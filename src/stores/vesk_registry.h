// TVeskRegistry: the one way the system reads and writes the registry (OS-family probe, a
// tweak's current value, applying a tweak). Two rules set it apart from a plain wrapper:
//  - no operation raises: failures come back as false, -1, 0 or an empty string, and writes
//    report nothing;
//  - OpenKey, the way to a key that is to be changed, creates it (with any missing keys above
//    it); OpenKeyReadOnly and KeyExists leave the registry untouched.
// Each user makes one on the stack, selects the root, works on one key and lets it go; the
// destructor closes the open key.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry_api.h"

namespace qzr {

// The store's own numbering of value types; Integer and Binary are swapped against the
// registry's REG_DWORD (4) and REG_BINARY (3).
enum class ValueKind : uint8_t { Unknown = 0, String = 1, ExpandString = 2, Integer = 3, Binary = 4 };

struct ValueInfo {
  ValueKind Kind = ValueKind::Unknown;
  int32_t Size = 0;  // bytes of stored data
};

using KeyInfo = RegKeyInfo;

// The root key a tweak names by its code: 0 HKEY_LOCAL_MACHINE, 1 HKEY_CURRENT_USER, 2 HKEY_USERS,
// 3 HKEY_CURRENT_CONFIG, 4 HKEY_CLASSES_ROOT; nothing for any other code (the store then keeps
// its default, HKEY_CURRENT_USER).
std::optional<RegHandle> RootKeyForCode(int code);
// "HKEY_CURRENT_USER" and the like for a predefined root; empty for any other handle.
std::string RootKeyName(RegHandle root);

class TVeskRegistry {
 public:
  // Root HKEY_CURRENT_USER, access KEY_ALL_ACCESS, no key open.
  TVeskRegistry() noexcept;
  ~TVeskRegistry();
  TVeskRegistry(const TVeskRegistry&) = delete;
  TVeskRegistry& operator=(const TVeskRegistry&) = delete;

  // Another root closes the open key; the same root keeps it.
  void SetRootKey(RegHandle root) noexcept;
  // Which family of Windows runs the store: the NT family counts key and value names in
  // characters, the 9x family in bytes. Until told, the 9x count.
  void SetNTFamily(bool ntFamily) { ntFamily_ = ntFamily; }
  void CloseKey() noexcept;

  // Paths: "\A\B" is taken from the root; "A\B" from the open key, or from the root while none
  // is open; "" is the root itself.
  //
  // Opens the key, creating it when missing; true when it is now the open key. On failure the
  // previously open key stays open.
  bool OpenKey(const std::string& path) noexcept;
  // Opens an existing key with read rights only (KEY_READ), for reading its values: what a user
  // without the rights to change the key can still do. Creates nothing; false for a missing
  // key, and then the previously open key stays open.
  bool OpenKeyReadOnly(const std::string& path) noexcept;
  // Whether the key can be opened for reading; creates nothing and leaves the open key alone.
  bool KeyExists(const std::string& path) noexcept;
  // Deletes the key with everything below it, depth first; true when the key itself went.
  // The root itself is never deleted: "" (or a path of backslashes only) returns false.
  bool DeleteKey(const std::string& path) noexcept;

  // Values of the open key; "" names its default value.
  bool ValueExists(const std::string& name) noexcept;
  // -1 when the value does not exist. Data shorter than 4 bytes replaces only the low bytes
  // of the -1; data longer than 4 bytes is no integer and reads as -1.
  int32_t ReadInteger(const std::string& name) noexcept;
  // String data up to its first zero byte; other types give their raw bytes.
  std::string ReadString(const std::string& name) noexcept;
  // Zeroes `bufferSize` bytes of `buffer`, then copies binary (or untyped) data that fits.
  // Returns the stored size whether or not it was copied; 0 when the value does not exist.
  int32_t ReadBinaryData(const std::string& name, void* buffer, int32_t bufferSize) noexcept;
  // The writes answer the platform's status, 0 when the value was written.
  long WriteInteger(const std::string& name, int32_t value) noexcept;
  // The text and one zero byte, as REG_SZ.
  long WriteString(const std::string& name, const std::string& value) noexcept;
  // `size` bytes as REG_BINARY; a negative size writes nothing.
  long WriteBinaryData(const std::string& name, const void* buffer, int32_t size) noexcept;
  bool DeleteValue(const std::string& name) noexcept;

  RegHandle CurrentKey() const { return currentKey_; }
  RegHandle RootHandle() const { return rootHandle_; }
  // Path of the open key from the root, without a leading backslash; empty while none is open.
  const std::string& CurrentPath() const { return currentPath_; }
  // The rights asked for whenever a key is opened or created (OpenKeyReadOnly and KeyExists
  // aside).
  uint32_t Access() const { return access_; }
  void SetAccess(uint32_t access) { access_ = access; }

  // "\A" is absolute (`rest` is "A"); "" is absolute too (the root); anything else is relative.
  static bool IsRelativePath(const std::string& path, std::string* rest);

  // Whether DeleteKey can delete the key with everything below it: every key of the tree opens
  // with the DELETE right (and read rights, to list its sub-keys), in the view the deletion
  // uses. False for a missing key and for the paths DeleteKey refuses; changes nothing.
  bool CanDeleteKey(const std::string& path) noexcept;
  // Deletes the key when it holds no value and no sub-key (what a refused Save that created it
  // leaves behind); true when it went.
  bool DeleteKeyIfEmpty(const std::string& path) noexcept;
  // The status of the last call that opened, created, set or deleted and failed (0 while none
  // did): whether a refusal was for lack of rights (access denied) or for another reason.
  long LastFailure() const { return lastFailure_; }

 private:
  bool QueryValueInfo(const std::string& name, ValueInfo* info);
  int32_t QueryValueSize(const std::string& name);
  // Size as the platform left it (bytes copied, or bytes needed when the buffer was too small).
  int32_t QueryValueData(const std::string& name, void* buffer, int32_t size, ValueKind* kind);
  long StoreValue(const std::string& name, const void* buffer, ValueKind kind, int32_t size);
  RegHandle OpenHandle(const std::string& path);
  // The path from the root that `path` names from the open key (or the root).
  std::string PathFromRoot(const std::string& path) const;
  bool QueryKeyInfo(KeyInfo* info);
  RegHandle BaseKeyFor(bool relative) const;
  void MakeCurrent(RegHandle key, std::string path);
  void ReplaceCurrentKey(RegHandle key) { currentKey_ = key; }

  RegHandle currentKey_ = 0;
  RegHandle rootHandle_ = 0;
  std::string currentPath_;
  uint32_t access_ = 0;
  bool ntFamily_ = false;
  long lastFailure_ = 0;
};

}  // namespace qzr
