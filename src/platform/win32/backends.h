// The Win32 implementations of the platform seam's parts.
#pragma once
#include "platform/platform.h"

namespace qzr::win32 {

// Lives in this module, so its address names the module for GetModuleHandleEx.
Platform NativePlatformParts();

class Registry final : public RegistryApi {
 public:
  long CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override;
  long OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::string& name, uint32_t* type, uint8_t* data, uint32_t* size) override;
  long SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data, uint32_t size) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long DeleteKey(RegHandle base, const std::string& subKey) override;
  long EnumKey(RegHandle key, uint32_t index, char* name, uint32_t* length) override;
  long QueryInfoKey(RegHandle key, RegKeyInfo* info) override;
  long EnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type, uint8_t* data,
                 uint32_t* size) override;
  long OpenKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override;
  long CreateKeyW(RegHandle base, const std::u16string& subKey, uint32_t access, RegHandle* result) override;
  long EnumKeyW(RegHandle key, uint32_t index, std::u16string* name) override;
  long EnumValueW(RegHandle key, uint32_t index, std::u16string* name, uint32_t* type, std::string* data) override;
  long QueryValueW(RegHandle key, const std::u16string& name, uint32_t* type, std::string* data) override;
  long SetValueW(RegHandle key, const std::u16string& name, uint32_t type, const std::string& data) override;
  long DeleteKeyW(RegHandle base, const std::u16string& subKey) override;
};

class Profile final : public ProfileApi {
 public:
  std::string GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                        const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) override;
  bool WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                   const std::optional<std::string>& value, const std::string& fileName) override;
};

class Files final : public FileApi {
 public:
  long CreateProbeFile(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  uint32_t GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool MakeDirectory(const std::string& path) override;
  bool Copy(const std::string& source, const std::string& target, bool failIfExists) override;
  bool MoveReplace(const std::string& source, const std::string& target) override;
  std::string FinalPath(const std::string& path) override;
  std::vector<FoundFile> FindFiles(const std::string& mask) override;
  long ReadWhole(const std::string& path, std::string* content) override;
  long WriteWhole(const std::string& path, const std::string& content) override;
  long AppendTo(const std::string& path, const std::string& content) override;
  long CreateNew(const std::string& path, const std::string& content) override;
  long EditWhole(const std::string& path, const std::function<std::string(const std::string&)>& edit) override;
  long WriteCopy(const std::string& target, const std::string& content, uint32_t sourceAttributes) override;
};

class System final : public SystemApi {
 public:
  std::optional<std::string> GetEnv(const std::string& name) override;
  std::string ModuleFileName() override;
  uint16_t CodeSegmentSelector() override;
  LocalTime Now() override;
  std::string FormatLongTime(const LocalTime& t) override;
  std::string FormatShortDate(const LocalTime& t) override;
  std::string ErrorMessage(long code) override;
  bool FarEastLocale() override;
  std::string AnsiToUtf8(const std::string& text) override;
  std::string Utf8ToAnsi(const std::string& text) override;
  std::string UpperCase(const std::string& text) override;
  long ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) override;
  std::optional<std::string> GetEnvUtf8(const std::string& name) override;
};

class Ui final : public UiApi {
 public:
  void ShowMessage(const std::string& text, const std::string& caption) override;
  void ShellOpen(const std::string& target, void* parent) override;
  std::string WindowClassName(void* window) override;
  bool PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void BroadcastSettingChange(const std::string& area) override;
  void NotifyAssociationsChanged() override;
  bool SetSystemParameter(uint32_t action, uint32_t uiParam, const std::vector<int32_t>& numbers) override;
  long RestartExplorer() override;
};

}  // namespace qzr::win32
