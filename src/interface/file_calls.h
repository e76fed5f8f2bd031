// The listing, copy-out, icon and execute entry points, each one function for its narrow and its
// wide export: the exports (exports.cpp, exports_wide.cpp) only name the character type. Every
// one runs inside Entry (entry.h) and answers the interface's codes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "interface/entry.h"
#include "interface/find_record.h"
#include "interface/fsplugin.h"
#include "interface/host_chars.h"
#include "plugin/execute.h"
#include "plugin/file_ops.h"
#include "plugin/host_window.h"
#include "plugin/icons.h"
#include "plugin/listing.h"

namespace qzr {

inline void* InvalidSearchHandle() { return reinterpret_cast<void*>(intptr_t{-1}); }

template <typename Record>
void* FindFirstCall(Record* record) {
  return Entry(InvalidSearchHandle(), [&]() -> void* {
    if (!record) return InvalidSearchHandle();
    FirstEntry first = FindFirstEntry();
    FillFindData(record, first.Entry);
    return first.Handle;
  });
}

template <typename Record>
int FindNextCall(void* handle, Record* record) {
  return Entry(0, [&] {
    if (!record) return 0;
    std::optional<ListedEntry> entry = FindNextEntry(handle);
    if (!entry) return 0;
    FillFindData(record, *entry);
    return -1;
  });
}

template <typename Ch>
int GetFileCall(const Ch* remoteName, const Ch* localName) {
  return Entry(host::kFsFileWriteError, [&] {
    if (!remoteName || !localName) return host::kFsFileNotFound;
    const std::optional<std::string> name = HostChars<Ch>::AnsiIn(remoteName);
    if (!name) return host::kFsFileNotFound;
    switch (CopyReportOut(*name, HostChars<Ch>::PathIn(localName))) {
      case CopyOutcome::kDone: return host::kFsFileOk;
      case CopyOutcome::kNotFound: return host::kFsFileNotFound;
      case CopyOutcome::kWriteError: return host::kFsFileWriteError;
    }
    return host::kFsFileWriteError;
  });
}

// The name is the host's in/out buffer; the module only reads it (its icons need no other name).
template <typename Ch>
int ExtractIconCall(const Ch* remoteName, void** icon) {
  return Entry(host::kFsIconUseDefault, [&] {
    if (!remoteName || !icon) return host::kFsIconUseDefault;
    const std::optional<std::string> name = HostChars<Ch>::AnsiIn(remoteName);
    const char* resource = name ? IconResourceFor(*name) : nullptr;
    void* loaded = resource ? LoadSharedIcon(resource) : nullptr;
    if (!loaded) return host::kFsIconUseDefault;
    *icon = loaded;
    return host::kFsIconExtracted;
  });
}

template <typename Ch>
int ExecuteCall(void* mainWindow, const Ch* remoteName, const Ch* verb) {
  return Entry(host::kFsExecOk, [&] {
    RememberHostWindow(mainWindow);
    if (!remoteName || !verb) return host::kFsExecOk;
    // A wide name with no ANSI form is no tweak; the folder ("\") and its command line always have one.
    if (const std::optional<std::string> name = HostChars<Ch>::AnsiIn(remoteName))
      ExecuteFile(*name, HostChars<Ch>::TextIn(verb));
    return host::kFsExecOk;
  });
}

}  // namespace qzr
