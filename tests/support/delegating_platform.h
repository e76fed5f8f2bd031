// Parts of the platform seam that pass every call on to another implementation: by default the
// one in force when they are made. A test derives from one and overrides only the calls it
// changes (calling the base to pass on); Before() runs ahead of every passed-on call with the
// call's name, for tests that count calls or make one fail. NoRightsRegistry is such a part that
// several suites share.
#pragma once
#include "platform/platform.h"

namespace qzr::test {

class DelegatingRegistry : public RegistryApi {
 public:
  explicit DelegatingRegistry(RegistryApi& inner = *Os().registry) : inner_(inner) {}
  long CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    Before("CreateKey");
    return inner_.CreateKey(base, subKey, access, result);
  }
  long OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    Before("OpenKey");
    return inner_.OpenKey(base, subKey, access, result);
  }
  long CloseKey(RegHandle key) override {
    Before("CloseKey");
    return inner_.CloseKey(key);
  }
  long QueryValue(RegHandle key, const std::string& name, uint32_t* type, uint8_t* data, uint32_t* size) override {
    Before("QueryValue");
    return inner_.QueryValue(key, name, type, data, size);
  }
  long SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data, uint32_t size) override {
    Before("SetValue");
    return inner_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(RegHandle key, const std::string& name) override {
    Before("DeleteValue");
    return inner_.DeleteValue(key, name);
  }
  long DeleteKey(RegHandle base, const std::string& subKey) override {
    Before("DeleteKey");
    return inner_.DeleteKey(base, subKey);
  }
  long EnumKey(RegHandle key, uint32_t index, char* name, uint32_t* length) override {
    Before("EnumKey");
    return inner_.EnumKey(key, index, name, length);
  }
  long QueryInfoKey(RegHandle key, RegKeyInfo* info) override {
    Before("QueryInfoKey");
    return inner_.QueryInfoKey(key, info);
  }
  long EnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type, uint8_t* data,
                 uint32_t* size) override {
    Before("EnumValue");
    return inner_.EnumValue(key, index, name, nameLength, type, data, size);
  }
  long OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override {
    Before("OpenKeyW");
    return inner_.OpenKeyW(base, subKey, access, result);
  }
  long CreateKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override {
    Before("CreateKeyW");
    return inner_.CreateKeyW(base, subKey, access, result);
  }
  long EnumKeyW(RegHandle key, uint32_t index, std::u16string* name) override {
    Before("EnumKeyW");
    return inner_.EnumKeyW(key, index, name);
  }
  long EnumValueW(RegHandle key, uint32_t index, std::u16string* name, uint32_t* type, std::string* data) override {
    Before("EnumValueW");
    return inner_.EnumValueW(key, index, name, type, data);
  }
  long QueryValueW(RegHandle key, const std::u16string& name, uint32_t* type, std::string* data) override {
    Before("QueryValueW");
    return inner_.QueryValueW(key, name, type, data);
  }
  long SetValueW(RegHandle key, const std::u16string& name, uint32_t type, const std::string& data) override {
    Before("SetValueW");
    return inner_.SetValueW(key, name, type, data);
  }
  long DeleteKeyW(RegHandle base, const std::u16string& subKey) override {
    Before("DeleteKeyW");
    return inner_.DeleteKeyW(base, subKey);
  }

 protected:
  virtual void Before(const char* /*operation*/) {}
  RegistryApi& inner_;
};

// The registry as HKEY_LOCAL_MACHINE is to a user without administrator rights: keys open for
// reading, but an open or create that asks for a right to change the key is refused, and so is
// every change.
class NoRightsRegistry final : public DelegatingRegistry {
 public:
  // KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER.
  static constexpr uint32_t kWriteRights = 0xD0026;

  long CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    *result = 0;
    return access & kWriteRights ? win::kAccessDenied : DelegatingRegistry::CreateKey(base, subKey, access, result);
  }
  long OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    *result = 0;
    return access & kWriteRights ? win::kAccessDenied : DelegatingRegistry::OpenKey(base, subKey, access, result);
  }
  long SetValue(RegHandle, const std::string&, uint32_t, const uint8_t*, uint32_t) override { return win::kAccessDenied; }
  long DeleteValue(RegHandle, const std::string&) override { return win::kAccessDenied; }
  long DeleteKey(RegHandle, const std::string&) override { return win::kAccessDenied; }
  long CreateKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override {
    *result = 0;
    return access & kWriteRights ? win::kAccessDenied : DelegatingRegistry::CreateKeyW(base, subKey, access, result);
  }
  long OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override {
    *result = 0;
    return access & kWriteRights ? win::kAccessDenied : DelegatingRegistry::OpenKeyW(base, subKey, access, result);
  }
  long SetValueW(RegHandle, const std::u16string&, uint32_t, const std::string&) override { return win::kAccessDenied; }
  long DeleteKeyW(RegHandle, const std::u16string&) override { return win::kAccessDenied; }
};

class DelegatingProfile : public ProfileApi {
 public:
  explicit DelegatingProfile(ProfileApi& inner = *Os().profile) : inner_(inner) {}
  std::string GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                        const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) override {
    Before("GetString");
    return inner_.GetString(section, key, defaultValue, bufferSize, fileName);
  }
  bool WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                   const std::optional<std::string>& value, const std::string& fileName) override {
    Before("WriteString");
    return inner_.WriteString(section, key, value, fileName);
  }

 protected:
  virtual void Before(const char* /*operation*/) {}
  ProfileApi& inner_;
};

class DelegatingFiles : public FileApi {
 public:
  explicit DelegatingFiles(FileApi& inner = *Os().files) : inner_(inner) {}
  long CreateProbeFile(const std::string& path) override {
    Before("CreateProbeFile");
    return inner_.CreateProbeFile(path);
  }
  bool RemoveFile(const std::string& path) override {
    Before("RemoveFile");
    return inner_.RemoveFile(path);
  }
  uint32_t GetAttributes(const std::string& path) override {
    Before("GetAttributes");
    return inner_.GetAttributes(path);
  }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    Before("SetAttributes");
    return inner_.SetAttributes(path, attributes);
  }
  bool MakeDirectory(const std::string& path) override {
    Before("MakeDirectory");
    return inner_.MakeDirectory(path);
  }
  bool Copy(const std::string& source, const std::string& target, bool failIfExists) override {
    Before("Copy");
    return inner_.Copy(source, target, failIfExists);
  }
  bool MoveReplace(const std::string& source, const std::string& target) override {
    Before("MoveReplace");
    return inner_.MoveReplace(source, target);
  }
  std::string FinalPath(const std::string& path) override {
    Before("FinalPath");
    return inner_.FinalPath(path);
  }
  std::vector<FoundFile> FindFiles(const std::string& mask) override {
    Before("FindFiles");
    return inner_.FindFiles(mask);
  }
  long ReadWhole(const std::string& path, std::string* content) override {
    Before("ReadWhole");
    return inner_.ReadWhole(path, content);
  }
  long WriteWhole(const std::string& path, const std::string& content) override {
    Before("WriteWhole");
    return inner_.WriteWhole(path, content);
  }
  long AppendTo(const std::string& path, const std::string& content) override {
    Before("AppendTo");
    return inner_.AppendTo(path, content);
  }
  long CreateNew(const std::string& path, const std::string& content) override {
    Before("CreateNew");
    return inner_.CreateNew(path, content);
  }
  long EditWhole(const std::string& path, const std::function<std::string(const std::string&)>& edit) override {
    Before("EditWhole");
    return inner_.EditWhole(path, edit);
  }
  long WriteCopy(const std::string& target, const std::string& content, uint32_t sourceAttributes) override {
    Before("WriteCopy");
    return inner_.WriteCopy(target, content, sourceAttributes);
  }

 protected:
  virtual void Before(const char* /*operation*/) {}
  FileApi& inner_;
};

class DelegatingSystem : public SystemApi {
 public:
  explicit DelegatingSystem(SystemApi& inner = *Os().system) : inner_(inner) {}
  std::optional<std::string> GetEnv(const std::string& name) override {
    Before("GetEnv");
    return inner_.GetEnv(name);
  }
  std::string ModuleFileName() override {
    Before("ModuleFileName");
    return inner_.ModuleFileName();
  }
  uint16_t CodeSegmentSelector() override {
    Before("CodeSegmentSelector");
    return inner_.CodeSegmentSelector();
  }
  LocalTime Now() override {
    Before("Now");
    return inner_.Now();
  }
  std::string FormatLongTime(const LocalTime& t) override {
    Before("FormatLongTime");
    return inner_.FormatLongTime(t);
  }
  std::string FormatShortDate(const LocalTime& t) override {
    Before("FormatShortDate");
    return inner_.FormatShortDate(t);
  }
  std::string ErrorMessage(long code) override {
    Before("ErrorMessage");
    return inner_.ErrorMessage(code);
  }
  bool FarEastLocale() override {
    Before("FarEastLocale");
    return inner_.FarEastLocale();
  }
  std::string UpperCase(const std::string& text) override {
    Before("UpperCase");
    return inner_.UpperCase(text);
  }
  std::string AnsiToUtf8(const std::string& text) override {
    Before("AnsiToUtf8");
    return inner_.AnsiToUtf8(text);
  }
  std::string Utf8ToAnsi(const std::string& text) override {
    Before("Utf8ToAnsi");
    return inner_.Utf8ToAnsi(text);
  }
  long ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) override {
    Before("ImportRegistryFileAsAdministrator");
    return inner_.ImportRegistryFileAsAdministrator(bytes, owner);
  }
  std::optional<std::string> GetEnvUtf8(const std::string& name) override {
    Before("GetEnvUtf8");
    return inner_.GetEnvUtf8(name);
  }

 protected:
  virtual void Before(const char* /*operation*/) {}
  SystemApi& inner_;
};

class DelegatingUi : public UiApi {
 public:
  explicit DelegatingUi(UiApi& inner = *Os().ui) : inner_(inner) {}
  void ShowMessage(const std::string& text, const std::string& caption) override {
    Before("ShowMessage");
    inner_.ShowMessage(text, caption);
  }
  void ShellOpen(const std::string& target, void* parent) override {
    Before("ShellOpen");
    inner_.ShellOpen(target, parent);
  }
  std::string WindowClassName(void* window) override {
    Before("WindowClassName");
    return inner_.WindowClassName(window);
  }
  bool PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    Before("PostToWindow");
    return inner_.PostToWindow(window, message, wParam, lParam);
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    Before("AskYesNo");
    return inner_.AskYesNo(text, caption);
  }
  void BroadcastSettingChange(const std::string& area) override {
    Before("BroadcastSettingChange");
    inner_.BroadcastSettingChange(area);
  }
  void NotifyAssociationsChanged() override {
    Before("NotifyAssociationsChanged");
    inner_.NotifyAssociationsChanged();
  }
  bool SetSystemParameter(uint32_t action, uint32_t uiParam, const std::vector<int32_t>& numbers) override {
    Before("SetSystemParameter");
    return inner_.SetSystemParameter(action, uiParam, numbers);
  }
  long RestartExplorer() override {
    Before("RestartExplorer");
    return inner_.RestartExplorer();
  }

 protected:
  virtual void Before(const char* /*operation*/) {}
  UiApi& inner_;
};

}  // namespace qzr::test
