// Calling a WFX module's entry points.
#include "wfx_module.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "util/utf16.h"

namespace wfxhost {

using namespace qzr::host;

using FsInitFn = int(DCPCALL*)(int, tProgressProc, tLogProc, tRequestProc);
using FsSetDefaultParamsFn = void(DCPCALL*)(FsDefaultParamStruct*);
using FsGetDefRootNameFn = void(DCPCALL*)(char*, int);
using FsFindFirstFn = void*(DCPCALL*)(char*, FindData*);
using FsFindNextFn = int(DCPCALL*)(void*, FindData*);
using FsFindCloseFn = int(DCPCALL*)(void*);
using FsGetFileFn = int(DCPCALL*)(char*, char*, int, void*);
using FsPutFileFn = int(DCPCALL*)(char*, char*, int);
using FsDeleteFileFn = int(DCPCALL*)(char*);
using FsExtractCustomIconFn = int(DCPCALL*)(char*, int, void**);
using FsExecuteFileFn = int(DCPCALL*)(void*, char*, char*);
using FsContentGetSupportedFieldFn = int(DCPCALL*)(int, char*, char*, int);
using FsContentGetValueFn = int(DCPCALL*)(char*, int, int, void*, int, int);
using FsContentSetValueFn = int(DCPCALL*)(char*, int, int, int, void*, int);
using FsContentGetSupportedFieldFlagsFn = int(DCPCALL*)(int);
using FsInitWFn = int(DCPCALL*)(int, tProgressProcW, tLogProcW, tRequestProcW);
using FsFindFirstWFn = void*(DCPCALL*)(char16_t*, FindDataW*);
using FsFindNextWFn = int(DCPCALL*)(void*, FindDataW*);
using FsGetFileWFn = int(DCPCALL*)(char16_t*, char16_t*, int, void*);
using FsPutFileWFn = int(DCPCALL*)(char16_t*, char16_t*, int);
using FsDeleteFileWFn = int(DCPCALL*)(char16_t*);
using FsExtractCustomIconWFn = int(DCPCALL*)(char16_t*, int, void**);
using FsExecuteFileWFn = int(DCPCALL*)(void*, char16_t*, char16_t*);
using FsContentGetValueWFn = int(DCPCALL*)(char16_t*, int, int, void*, int, int);
using FsContentSetValueWFn = int(DCPCALL*)(char16_t*, int, int, int, void*, int);

namespace {

// The exports take writable buffers, as the host's interface declares them.
std::vector<char> Buffer(const std::string& text) {
  std::vector<char> b(text.begin(), text.end());
  b.resize(std::max<size_t>(b.size() + 1, kMaxPath), '\0');
  return b;
}

// The same for the wide calls: the host's ANSI text as UTF-16.
std::vector<char16_t> WideBuffer(const std::string& text) {
  const std::u16string wide = qzr::Utf8ToUtf16(qzr::Os().system->AnsiToUtf8(text));
  std::vector<char16_t> b(wide.begin(), wide.end());
  b.resize(std::max<size_t>(b.size() + 1, kMaxPath), u'\0');
  return b;
}

// A wide answer in the host's ANSI code page.
std::string FromWide(const char16_t* text, size_t maxUnits) {
  size_t n = 0;
  while (n < maxUnits && text[n]) ++n;
  return qzr::Os().system->Utf8ToAnsi(qzr::Utf16ToUtf8(std::u16string_view(text, n)));
}

}  // namespace

WfxModule::WfxModule(const std::string& path, bool ansiOnly) : library_(path) {
  if (!library_.loaded()) {
    error_ = "cannot load " + path + ": " + library_.error();
    return;
  }
  for (const char* name : {"FsInit", "FsSetDefaultParams", "FsGetDefRootName"})
    if (!library_.Symbol(name)) error_ = std::string("the module does not export ") + name;
  // Total Commander takes the wide calls when the module has FsFindFirstW; it then calls FsInitW.
  wide_ = !ansiOnly && library_.Symbol("FsFindFirstW") && library_.Symbol("FsInitW");
}

void WfxModule::Start(const std::string& iniName) {
  if (wide_)
    Entry<FsInitWFn>("FsInitW")(1, nullptr, nullptr, nullptr);
  else
    Entry<FsInitFn>("FsInit")(1, nullptr, nullptr, nullptr);
  FsDefaultParamStruct params{};
  params.size = sizeof params;
  params.PluginInterfaceVersionLow = 0;
  params.PluginInterfaceVersionHi = 2;
  std::string native = NativePath(iniName);
  std::strncpy(params.DefaultIniName, native.c_str(), kMaxPath - 1);
  Entry<FsSetDefaultParamsFn>("FsSetDefaultParams")(&params);
}

std::string WfxModule::RootName(int maxlen) {
  std::vector<char> buffer(static_cast<size_t>(maxlen > 0 ? maxlen : 1) + 1, '\x7f');
  Entry<FsGetDefRootNameFn>("FsGetDefRootName")(buffer.data(), maxlen);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

std::vector<std::string> WfxModule::List(const std::string& path) {
  std::vector<std::string> names;
  if (wide_) {
    auto first = Entry<FsFindFirstWFn>("FsFindFirstW");
    auto next = Entry<FsFindNextWFn>("FsFindNextW");
    auto close = Entry<FsFindCloseFn>("FsFindClose");
    if (!first || !next || !close) return names;
    FindDataW data{};
    std::vector<char16_t> p = WideBuffer(path);
    void* handle = first(p.data(), &data);
    if (handle == reinterpret_cast<void*>(intptr_t{-1})) return names;
    do {
      names.push_back(FromWide(data.cFileName, std::size(data.cFileName)));
      data = FindDataW{};
    } while (next(handle, &data));
    close(handle);
    return names;
  }
  auto first = Entry<FsFindFirstFn>("FsFindFirst");
  auto next = Entry<FsFindNextFn>("FsFindNext");
  auto close = Entry<FsFindCloseFn>("FsFindClose");
  if (!first || !next || !close) return names;
  FindData data{};
  std::vector<char> p = Buffer(path);
  void* handle = first(p.data(), &data);
  if (handle == reinterpret_cast<void*>(intptr_t{-1})) return names;
  do {
    names.emplace_back(data.cFileName, strnlen(data.cFileName, sizeof data.cFileName));
    data = FindData{};
  } while (next(handle, &data));
  close(handle);
  return names;
}

int WfxModule::GetFile(const std::string& remoteName, const std::string& localName) {
  if (wide_) {
    std::vector<char16_t> remote = WideBuffer(remoteName), local = WideBuffer(NativePath(localName));
    return Entry<FsGetFileWFn>("FsGetFileW")(remote.data(), local.data(), 0, nullptr);
  }
  std::vector<char> remote = Buffer(remoteName), local = Buffer(NativePath(localName));
  return Entry<FsGetFileFn>("FsGetFile")(remote.data(), local.data(), 0, nullptr);
}

int WfxModule::PutFile(const std::string& localName, const std::string& remoteName) {
  if (wide_) {
    std::vector<char16_t> remote = WideBuffer(remoteName), local = WideBuffer(NativePath(localName));
    return Entry<FsPutFileWFn>("FsPutFileW")(local.data(), remote.data(), 0);
  }
  std::vector<char> remote = Buffer(remoteName), local = Buffer(NativePath(localName));
  return Entry<FsPutFileFn>("FsPutFile")(local.data(), remote.data(), 0);
}

int WfxModule::DeleteFile(const std::string& remoteName) {
  if (wide_) {
    std::vector<char16_t> remote = WideBuffer(remoteName);
    return Entry<FsDeleteFileWFn>("FsDeleteFileW")(remote.data());
  }
  std::vector<char> remote = Buffer(remoteName);
  return Entry<FsDeleteFileFn>("FsDeleteFile")(remote.data());
}

int WfxModule::ExtractIcon(const std::string& remoteName, void** icon) {
  *icon = nullptr;
  if (wide_) {
    auto extract = Entry<FsExtractCustomIconWFn>("FsExtractCustomIconW");
    if (!extract) return 0;
    std::vector<char16_t> remote = WideBuffer(remoteName);
    return extract(remote.data(), 0, icon);
  }
  auto extract = Entry<FsExtractCustomIconFn>("FsExtractCustomIcon");
  if (!extract) return 0;
  std::vector<char> remote = Buffer(remoteName);
  return extract(remote.data(), 0, icon);
}

int WfxModule::ExecuteFile(const std::string& remoteName, const std::string& verb) {
  if (wide_) {
    auto execute = Entry<FsExecuteFileWFn>("FsExecuteFileW");
    if (!execute) return -1;
    std::vector<char16_t> remote = WideBuffer(remoteName), command = WideBuffer(verb);
    return execute(nullptr, remote.data(), command.data());
  }
  auto execute = Entry<FsExecuteFileFn>("FsExecuteFile");
  if (!execute) return -1;
  std::vector<char> remote = Buffer(remoteName), command = Buffer(verb);
  return execute(nullptr, remote.data(), command.data());
}

std::vector<std::string> WfxModule::FieldNames() {
  std::vector<std::string> names;
  auto field = Entry<FsContentGetSupportedFieldFn>("FsContentGetSupportedField");
  for (int i = 0; field && i < 100; ++i) {
    char name[kMaxPath] = {}, units[kMaxPath] = {};
    if (field(i, name, units, kMaxPath) == kFtNoMoreFields) break;
    names.emplace_back(name);
  }
  return names;
}

std::string WfxModule::FieldValue(const std::string& remoteName, int index, int* code) {
  if (wide_) {
    auto get = Entry<FsContentGetValueWFn>("FsContentGetValueW");
    *code = kFtNoSuchField;
    if (!get) return {};
    std::vector<char16_t> remote = WideBuffer(remoteName);
    std::vector<char16_t> value(512, u'\0');
    *code = get(remote.data(), index, 0, value.data(), static_cast<int>(value.size() * sizeof(char16_t)), 0);
    if (*code == kFtBoolean) {
      int32_t flag = 0;
      std::memcpy(&flag, value.data(), sizeof flag);
      return flag ? "1" : "0";
    }
    if (*code == kFtStringW) return FromWide(value.data(), value.size());
    if (*code == kFtString || *code == kFtMultipleChoice) return std::string(reinterpret_cast<const char*>(value.data()));
    return {};
  }
  auto get = Entry<FsContentGetValueFn>("FsContentGetValue");
  *code = kFtNoSuchField;
  if (!get) return {};
  std::vector<char> remote = Buffer(remoteName);
  std::vector<char> value(1024, '\0');
  *code = get(remote.data(), index, 0, value.data(), static_cast<int>(value.size()), 0);
  if (*code == kFtBoolean) {
    int32_t flag = 0;
    std::memcpy(&flag, value.data(), sizeof flag);
    return flag ? "1" : "0";
  }
  if (*code == kFtString || *code == kFtMultipleChoice) return std::string(value.data());
  return {};
}

int WfxModule::SetField(const std::string& remoteName, int index, const std::string& text) {
  auto set = Entry<FsContentSetValueFn>("FsContentSetValue");
  auto flags = Entry<FsContentGetSupportedFieldFlagsFn>("FsContentGetSupportedFieldFlags");
  // Total Commander's change of attributes offers a field only when the flags of all fields
  // (-1) and then its own allow the change.
  if (!set || !flags || !(flags(-1) & kContFlagsEdit) || !(flags(index) & kContFlagsEdit)) return kFtNoSuchField;
  std::vector<char> value = Buffer(text);
  // A choice goes as ANSI text through either call, as the hosts pass it.
  if (wide_) {
    auto setW = Entry<FsContentSetValueWFn>("FsContentSetValueW");
    if (!setW) return kFtNoSuchField;
    std::vector<char16_t> remote = WideBuffer(remoteName);
    int code = setW(remote.data(), index, 0, kFtMultipleChoice, value.data(),
                    kSetFlagsFirstAttribute | kSetFlagsLastAttribute);
    setW(nullptr, -1, 0, 0, nullptr, 0);
    return code;
  }
  std::vector<char> remote = Buffer(remoteName);
  int code = set(remote.data(), index, 0, kFtMultipleChoice, value.data(),
                 kSetFlagsFirstAttribute | kSetFlagsLastAttribute);
  set(nullptr, -1, 0, 0, nullptr, 0);
  return code;
}

}  // namespace wfxhost
