// Test helpers.
#include "support/test_support.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_handles.h"
#endif

#include "plugin/plugin_state.h"

namespace qzr::test {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  fs::path p = fs::temp_directory_path() /
               ("qzr-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
  fs::create_directories(p);
  dir_ = p.string();
  if (dir_.back() != kPathDelim) dir_ += kPathDelim;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Read-only files left by a test must not stop the clean-up.
  for (auto it = fs::recursive_directory_iterator(dir_, ec); !ec && it != fs::recursive_directory_iterator(); ++it)
    fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
  fs::remove_all(dir_, ec);
}

std::string SourcePath(const std::string& relative) {
  std::string path = std::string(QZR_SOURCE_DIR) + "/" + relative;
#ifdef _WIN32
  path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

// Paths are UTF-8 text, as in the module: on Windows the wide calls reach a path in any script.
static fs::path FsPath(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(FsPath(path), ec);
}

std::vector<std::string> ListFolder(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(FsPath(dir), ec)) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

ScopedEnv::ScopedEnv(const std::string& name, const char* value) : name_(name) {
#ifdef _WIN32
  char old[32768];
  DWORD n = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
  if (n > 0 && n < sizeof old) {
    had_ = true;
    old_.assign(old, n);
  }
  SetEnvironmentVariableA(name.c_str(), value);
#else
  if (const char* old = std::getenv(name.c_str())) {
    had_ = true;
    old_ = old;
  }
  if (value)
    setenv(name.c_str(), value, 1);
  else
    unsetenv(name.c_str());
#endif
}

ScopedEnv::~ScopedEnv() {
#ifdef _WIN32
  SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr);
#else
  if (had_)
    setenv(name_.c_str(), old_.c_str(), 1);
  else
    unsetenv(name_.c_str());
#endif
}

#ifdef _WIN32
unsigned long ExitCodeOf(const std::string& program, const std::string& arguments) {
  std::string command = "\"" + program + "\" " + arguments;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  win32::FileHandle nul(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = nul.get();
  PROCESS_INFORMATION started{};
  DWORD code = 9999;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
    return code;
  win32::FileHandle process(started.hProcess), thread(started.hThread);
  WaitForSingleObject(process.get(), INFINITE);
  GetExitCodeProcess(process.get(), &code);
  return code;
}
#endif

PluginTest::PluginTest() : uiOverride_(Os().ui, &ui_) { ResetState(); }
PluginTest::~PluginTest() { ResetState(); }

}  // namespace qzr::test
