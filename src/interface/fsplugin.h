// The host's file-system plugin interface: calling convention, records and result codes, laid
// out byte for byte as the host defines them, with the wide (UTF-16) twins of the records and
// callbacks. A wide character is 16 bits on every host (Windows, and Double Commander on Linux),
// so it is char16_t here, never wchar_t.
#pragma once
#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#define DCPCALL __stdcall
#define QZR_EXPORT extern "C" __declspec(dllexport)
#else
#define DCPCALL
#define QZR_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace qzr::host {

inline constexpr int kMaxPath = 260;

// Result codes of FsGetFile / FsPutFile.
inline constexpr int kFsFileOk = 0;
inline constexpr int kFsFileExists = 1;
inline constexpr int kFsFileNotFound = 2;
inline constexpr int kFsFileReadError = 3;
inline constexpr int kFsFileWriteError = 4;

// Result codes of FsExecuteFile.
inline constexpr int kFsExecOk = 0;

// The content fields: field types of FsContentGetSupportedField, and the answers of
// FsContentGetValue and FsContentSetValue.
inline constexpr int kFtNoMoreFields = 0;
inline constexpr int kFtBoolean = 6;
inline constexpr int kFtMultipleChoice = 7;
inline constexpr int kFtString = 8;
// A UTF-16 text: only the wide FsContentGetValueW answers it, and FsContentSetValueW may pass it.
inline constexpr int kFtStringW = 11;
inline constexpr int kFtNoSuchField = -1;
inline constexpr int kFtFileError = -2;
inline constexpr int kFtFieldEmpty = -3;
inline constexpr int kFtSetSuccess = 0;
// FsContentGetSupportedFieldFlags: the field can be changed through FsContentSetValue.
inline constexpr int kContFlagsEdit = 1;
// The flags of FsContentSetValue in a change of attributes: the call sets the first, the last
// attribute of its file.
inline constexpr int kSetFlagsFirstAttribute = 1;
inline constexpr int kSetFlagsLastAttribute = 2;

// Result codes of FsExtractCustomIcon.
inline constexpr int kFsIconUseDefault = 0;
inline constexpr int kFsIconExtracted = 1;

using tProgressProc = int(DCPCALL*)(int PluginNr, char* SourceName, char* TargetName, int PercentDone);
using tLogProc = void(DCPCALL*)(int PluginNr, int MsgType, char* LogString);
using tRequestProc = int(DCPCALL*)(int PluginNr, int RequestType, char* CustomTitle, char* CustomText,
                                   char* ReturnedText, int maxlen);

using tProgressProcW = int(DCPCALL*)(int PluginNr, char16_t* SourceName, char16_t* TargetName, int PercentDone);
using tLogProcW = void(DCPCALL*)(int PluginNr, int MsgType, char16_t* LogString);
using tRequestProcW = int(DCPCALL*)(int PluginNr, int RequestType, char16_t* CustomTitle, char16_t* CustomText,
                                    char16_t* ReturnedText, int maxlen);

struct FsDefaultParamStruct {
  int32_t size;
  uint32_t PluginInterfaceVersionLow;
  uint32_t PluginInterfaceVersionHi;
  char DefaultIniName[kMaxPath];
};
static_assert(offsetof(FsDefaultParamStruct, DefaultIniName) == 12);

struct FileTime {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

// WIN32_FIND_DATAA (FsFindFirst) and WIN32_FIND_DATAW (FsFindFirstW) as the host passes them:
// the same record with names of its character type.
template <typename Ch>
struct FindRecord {
  uint32_t dwFileAttributes;
  FileTime ftCreationTime;
  FileTime ftLastAccessTime;
  FileTime ftLastWriteTime;
  uint32_t nFileSizeHigh;
  uint32_t nFileSizeLow;
  uint32_t dwReserved0;
  uint32_t dwReserved1;
  Ch cFileName[kMaxPath];
  Ch cAlternateFileName[14];
};
using FindData = FindRecord<char>;
using FindDataW = FindRecord<char16_t>;
static_assert(offsetof(FindData, nFileSizeHigh) == 28);
static_assert(offsetof(FindData, cFileName) == 44);
static_assert(offsetof(FindData, cAlternateFileName) == 304);
static_assert(sizeof(FindData) == 320);
static_assert(offsetof(FindDataW, nFileSizeHigh) == 28);
static_assert(offsetof(FindDataW, cFileName) == 44);
static_assert(offsetof(FindDataW, cAlternateFileName) == 564);
static_assert(sizeof(FindDataW) == 592);

}  // namespace qzr::host
