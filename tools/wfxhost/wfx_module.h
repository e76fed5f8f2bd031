// A WFX module as a host sees it: the library and its entry points, called in the host's order
// (FsInit, FsSetDefaultParams, then whatever the user asks). Like Total Commander and Double
// Commander it calls the wide (W) twin of an entry point whenever the module exports one, unless
// told to be a host that knows only the ANSI ones. Its own texts are in the ANSI code page either
// way, so what it prints does not depend on which calls it made.
#pragma once
#include <string>
#include <vector>

#include "library.h"
#include "interface/fsplugin.h"

namespace wfxhost {

class WfxModule {
 public:
  // Loads the module; on failure `error()` says why.
  explicit WfxModule(const std::string& path, bool ansiOnly = false);
  bool ok() const { return error_.empty(); }
  // Whether the wide entry points are the ones called.
  bool wide() const { return wide_; }
  const std::string& error() const { return error_; }

  // FsInit, then FsSetDefaultParams with `iniName` as DefaultIniName.
  void Start(const std::string& iniName);
  std::string RootName(int maxlen = qzr::host::kMaxPath);
  // The whole listing of a folder as a host enumerates it: FsFindFirst, FsFindNext until it
  // answers 0, FsFindClose.
  std::vector<std::string> List(const std::string& path);
  int GetFile(const std::string& remoteName, const std::string& localName);
  int PutFile(const std::string& localName, const std::string& remoteName);
  int DeleteFile(const std::string& remoteName);
  // FsExtractCustomIcon; `icon` receives the handle the module hands out.
  int ExtractIcon(const std::string& remoteName, void** icon);
  // FsExecuteFile with the host's main window left null.
  int ExecuteFile(const std::string& remoteName, const std::string& verb);
  // The content fields: names in the module's order (empty when it has none).
  std::vector<std::string> FieldNames();
  // FsContentGetValue(W) of a field as text ("1"/"0" for a boolean, a wide text in the ANSI code
  // page); `code` gets the answer.
  std::string FieldValue(const std::string& remoteName, int index, int* code);
  // A change of attributes as Total Commander makes it for one file: the field only when the
  // flags offer it (kFtNoSuchField otherwise), FsContentSetValue of the multiple-choice field as
  // its file's first and last attribute, then the null name that ends the operation.
  int SetField(const std::string& remoteName, int index, const std::string& text);
  // Unloads the module: its shut-down runs now.
  void Unload() { library_.Unload(); }

  template <typename Fn>
  Fn Entry(const char* name) const {
    return reinterpret_cast<Fn>(library_.Symbol(name));
  }

 private:
  Library library_;
  std::string error_;
  bool wide_ = false;
};

}  // namespace wfxhost
