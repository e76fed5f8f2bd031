// Windows status codes and constants that cross the platform seam. Both backends speak them,
// so the portable code and the contract tests see one set of results.
#pragma once
#include <cstdint>

namespace qzr::win {

// Status codes (winerror.h).
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kPathNotFound = 3;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidHandle = 6;
inline constexpr long kNotEnoughMemory = 8;
inline constexpr long kWriteFault = 29;
inline constexpr long kSharingViolation = 32;
inline constexpr long kFileExists = 80;
inline constexpr long kInvalidParameter = 87;
inline constexpr long kDiskFull = 112;
inline constexpr long kAlreadyExists = 183;
inline constexpr long kCancelled = 1223;  // the user declined (a consent prompt)
inline constexpr long kMoreData = 234;
inline constexpr long kNoMoreItems = 259;
inline constexpr long kBadPathName = 161;
inline constexpr long kFilenameExcedRange = 206;
inline constexpr long kDirNotEmpty = 145;

// File attributes.
inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSystem = 0x04;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kAttrNormal = 0x80;
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Registry value types.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegQword = 11;

// Registry access masks.
inline constexpr uint32_t kKeyAllAccess = 0xF003F;
inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyQueryEnum = 0x20009;  // STANDARD_RIGHTS_READ | QUERY_VALUE | ENUMERATE_SUB_KEYS
inline constexpr uint32_t kDelete = 0x10000;        // DELETE: what RegDeleteKey needs of the key it deletes

}  // namespace qzr::win
