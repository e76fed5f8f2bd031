// One parsed tweak definition (TTWREC) and the tagged value it holds for "on", "off" and the
// default. A new record is all zero: a registry tweak below HKEY_LOCAL_MACHINE for any OS, with
// no data type and empty values.
#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace qzr {

// A BIN value: bytes, first index 0.
using TRaw = std::vector<uint8_t>;

// Nothing, a signed 32-bit integer (DWORD), a string (STRING) or a byte array (BIN). Which one a
// filled value holds follows the record's data type when its line was read.
using TweakValue = std::variant<std::monostate, int32_t, std::string, TRaw>;

// PlugType: the store that holds the setting.
inline constexpr uint8_t kPlugReg = 0;
inline constexpr uint8_t kPlugIni = 1;
inline constexpr uint8_t kPlugCfg = 2;

// DataType.
inline constexpr uint8_t kDataNone = 0;
inline constexpr uint8_t kDataDword = 1;
inline constexpr uint8_t kDataString = 2;
inline constexpr uint8_t kDataBin = 3;

// RootKey. No root word maps to HKEY_CURRENT_CONFIG; an unknown word gives kRootUnknown, which
// leaves the registry store on its own default root.
inline constexpr uint8_t kRootLocalMachine = 0;
inline constexpr uint8_t kRootCurrentUser = 1;
inline constexpr uint8_t kRootUsers = 2;
inline constexpr uint8_t kRootCurrentConfig = 3;
inline constexpr uint8_t kRootClassesRoot = 4;
inline constexpr uint8_t kRootUnknown = 5;

// OSKind.
inline constexpr uint8_t kOSAny = 0;
inline constexpr uint8_t kOS9x = 1;
inline constexpr uint8_t kOSNT = 2;

// The largest BIN value a definition may declare with "SIZE>". Real switches are a few bytes;
// the bound keeps a mistyped size from making the module allocate without limit.
inline constexpr int32_t kMaxBinSize = 64 * 1024;

struct TTWREC {
  uint8_t PlugType = kPlugReg;
  uint8_t DataType = kDataNone;
  uint8_t RootKey = kRootLocalMachine;
  uint8_t OSKind = kOSAny;
  std::string Path;  // key below the root (REG), or the INI/CFG file: ANSI, as defined (PathOfAnsi for a path)
  TweakValue ValueOn;
  bool ValueOnDelVal = false;
  bool ValueOnDelKey = false;
  TweakValue ValueOff;
  bool ValueOffDelVal = false;
  bool ValueOffDelKey = false;
  TweakValue DefValue;
  bool DefDelVal = false;
  bool DefDelKey = false;
  std::string VarName;  // registry value name, or INI/CFG key
  std::string Section;  // INI section, upper case
  bool ByHands = false;
  std::string TweakName;
  int32_t DataSize = 0;  // bytes of a BIN value
  std::string Location;  // the copy in qzr_plugins, set by the database build: path text

  bool operator==(const TTWREC&) const = default;
};

}  // namespace qzr
