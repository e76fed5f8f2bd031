// The POSIX substitutes for the platform seam's parts.
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/platform.h"

namespace qzr::posix {

struct RegNode;
class RegistryTree;

// Lives in this module, so its address names the module for dladdr.
Platform NativePlatformParts();

// Which entry point a key path came through: Windows limits the 8-bit calls' paths to MAX_PATH.
enum class CallWidth { k8Bit, kWide };

class Registry final : public RegistryApi {
 public:
  Registry();
  ~Registry() override;
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
  // The tree, read from the registry file on first use.
  RegistryTree& Tree();
  // Forgets the tree and every open handle, as unloading the module would: the next call reads
  // the registry file again (and looks at QZR_REGISTRY_FILE again).
  void Reload();

 private:
  long CreateKeyAs(CallWidth width, RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result);
  long OpenKeyAs(CallWidth width, RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result);
  long DeleteKeyAs(CallWidth width, RegHandle base, const std::string& subKey);
  struct OpenHandle {
    std::shared_ptr<RegNode> node;
    uint32_t access;
    std::string path;  // from the root's name, for fault injection
  };
  struct Resolved {
    std::shared_ptr<RegNode> node;
    uint32_t access = 0;
    std::string_view path;  // the handle's own or the root's name: valid while the lock is held
  };
  long Resolve(RegHandle handle, Resolved* key);
  RegHandle NewHandle(const std::shared_ptr<RegNode>& node, uint32_t access, std::string path);
  // After every change: the whole tree goes to the registry file.
  void Changed();

  // The registry is one for the process and every thread may call it, as on Windows.
  std::recursive_mutex mutex_;
  std::unique_ptr<RegistryTree> tree_;
  std::string file_;
  bool saveToFile_ = false;
  std::map<RegHandle, OpenHandle> handles_;
  RegHandle nextHandle_ = 0x1000;
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

// The profile functions over a file part: the disk's, or one in memory.
class Profile final : public ProfileApi {
 public:
  explicit Profile(FileApi& files) : files_(files) {}
  std::string GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                        const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) override;
  bool WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                   const std::optional<std::string>& value, const std::string& fileName) override;

 private:
  FileApi& files_;
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
  // Takes "ElevatedImport" from Faults first (kCancelled stands for a declined prompt), then
  // imports the file into this process's substitute registry as an administrator would: the
  // registry's injected refusals do not apply to it (see reg_import.h).
  long ImportRegistryFileAsAdministrator(const std::string& bytes, void* owner) override;
  std::optional<std::string> GetEnvUtf8(const std::string& name) override;
};

// A Linux host hands the module pointers of its own toolkit where Windows has window handles;
// they are never followed. The substitute knows only the windows a test opens here.
class Ui final : public UiApi {
 public:
  void ShowMessage(const std::string& text, const std::string& caption) override;
  void ShellOpen(const std::string& target, void* parent) override;
  std::string WindowClassName(void* window) override;
  bool PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  // The question goes to standard error with the answer; the answer is the oldest one queued by
  // AnswerNextQuestion, else No: nobody can click Yes, and No leaves everything as it was.
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void BroadcastSettingChange(const std::string& area) override;
  void NotifyAssociationsChanged() override;
  bool SetSystemParameter(uint32_t action, uint32_t uiParam, const std::vector<int32_t>& numbers) override;
  long RestartExplorer() override;

  struct Posted {
    uint32_t Message = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    bool operator==(const Posted&) const = default;
  };
  // A window of that class, as a host's main window would be; closed, its handle names nothing.
  static void* OpenWindow(const std::string& className);
  static void CloseWindow(void* window);
  // The messages posted to the window since the last call, oldest first.
  static std::vector<Posted> TakePosted(void* window);
  // Queues the answer to the next question asked (any thread), as a user would click it.
  static void AnswerNextQuestion(bool yes);
  // Drops answers no question took.
  static void ForgetAnswers();
  // What was sent to tell the system of changed settings, oldest first, as lines:
  // "WM_SETTINGCHANGE Policy", "WM_SETTINGCHANGE" (no text), "SHCNE_ASSOCCHANGED",
  // "SPI 0x6B 200" (action and uiParam), "SPI 0x4 6,10,0" (the numbers), "restart Explorer".
  static std::vector<std::string> TakeSettingNotices();
  // The uiParam (or the numbers) last set with a SystemParametersInfo action; empty when never.
  static std::vector<int32_t> SystemParameter(uint32_t action);
};

}  // namespace qzr::posix
