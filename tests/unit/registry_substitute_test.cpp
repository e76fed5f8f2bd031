// The substitute registry's own duties: where it keeps its file, that a value written in one
// load of the module is read in the next, that a failed save leaves the old file whole, and
// fault injection. Test runs keep it in memory unless QZR_REGISTRY_FILE says otherwise, so no
// test touches the user's registry file.
#ifndef _WIN32
#include <cstdlib>

#include "platform/posix/backends.h"
#include "platform/posix/faults.h"
#include "platform/posix/registry_file.h"
#include "support/test_support.h"
#include "util/text.h"

namespace qzr::test {
namespace {

posix::Registry& Substitute() { return static_cast<posix::Registry&>(*posix::NativePlatformParts().registry); }

class InMemoryRegistry : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QZR_REGISTRY_FILE", "", 0);
    Substitute().Reload();
  }
};
[[maybe_unused]] ::testing::Environment* const kInMemory = ::testing::AddGlobalTestEnvironment(new InMemoryRegistry);

// Points the substitute at a file in a temporary folder for a scope, as a fresh load would.
class ScopedRegistryFile {
 public:
  ScopedRegistryFile() { Substitute().Reload(); }
  ~ScopedRegistryFile() { Substitute().Reload(); }  // loads again, with the setting put back, on next use
  const std::string& file() const { return file_; }

 private:
  TempFolder folder_;
  std::string file_ = folder_.path("sub") + "/registry.txt";
  ScopedEnv env_{"QZR_REGISTRY_FILE", file_.c_str()};
};

class RegistrySubstitute : public ::testing::Test {
 protected:
  static RegistryApi& reg() { return *Os().registry; }
  static RegHandle Create(const std::string& path) {
    RegHandle h = 0;
    EXPECT_EQ(reg().CreateKey(kHkeyCurrentUser, path, win::kKeyAllAccess, &h), win::kSuccess);
    return h;
  }
  static void Set(RegHandle key, const std::string& name, uint32_t type, const std::string& bytes) {
    ASSERT_EQ(reg().SetValue(key, name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                             static_cast<uint32_t>(bytes.size())),
              win::kSuccess);
  }
  static std::optional<std::pair<uint32_t, std::string>> Get(const std::string& path, const std::string& name) {
    RegHandle h = 0;
    if (reg().OpenKey(kHkeyCurrentUser, path, win::kKeyRead, &h) != win::kSuccess) return std::nullopt;
    uint32_t type = 0, size = 256;
    std::string data(size, '\0');
    long rc = reg().QueryValue(h, name, &type, reinterpret_cast<uint8_t*>(data.data()), &size);
    reg().CloseKey(h);
    if (rc != win::kSuccess) return std::nullopt;
    data.resize(size);
    return std::make_pair(type, data);
  }

  ScopedRegistryFile file_;
  posix::ScopedFaults faults_;
};

TEST_F(RegistrySubstitute, AValueWrittenInOneLoadIsReadInTheNext) {
  RegHandle k = Create("Software\\Saved\\Deep");
  Set(k, "dword", win::kRegDword, std::string("\x01\0\0\x80", 4));
  Set(k, "", win::kRegSz, std::string("default\0", 8));
  Set(k, "odd \"name\" 100%\r\n\\", win::kRegBinary, std::string("\0\xff\n", 3));
  Set(k, "none", 11, "");
  reg().CloseKey(k);
  reg().CloseKey(Create("Software\\Empty Key"));

  Substitute().Reload();
  EXPECT_EQ(Get("Software\\Saved\\Deep", "dword"), std::make_pair(win::kRegDword, std::string("\x01\0\0\x80", 4)));
  EXPECT_EQ(Get("software\\saved\\deep", ""), std::make_pair(win::kRegSz, std::string("default\0", 8)));
  EXPECT_EQ(Get("Software\\Saved\\Deep", "odd \"name\" 100%\r\n\\"),
            std::make_pair(win::kRegBinary, std::string("\0\xff\n", 3)));
  EXPECT_EQ(Get("Software\\Saved\\Deep", "none"), std::make_pair(uint32_t{11}, std::string()));
  RegHandle h = 0;
  EXPECT_EQ(reg().OpenKey(kHkeyCurrentUser, "Software\\Empty Key", win::kKeyRead, &h), win::kSuccess)
      << "a key without values is kept too";
  reg().CloseKey(h);
  EXPECT_EQ(Get("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "OS"), std::nullopt)
      << "HKEY_CURRENT_USER has no such key";

  EXPECT_EQ(reg().DeleteKey(kHkeyCurrentUser, "Software\\Saved\\Deep"), win::kSuccess);
  Substitute().Reload();
  EXPECT_EQ(Get("Software\\Saved\\Deep", "dword"), std::nullopt) << "deletions are kept as well";
}

TEST_F(RegistrySubstitute, AFreshRegistryHoldsTheSystemEnvironmentAndWritesOnlyOnChange) {
  RegHandle h = 0;
  ASSERT_EQ(reg().OpenKey(kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                          win::kKeyRead, &h),
            win::kSuccess);
  uint32_t type = 0, size = 32;
  char data[32];
  ASSERT_EQ(reg().QueryValue(h, "OS", &type, reinterpret_cast<uint8_t*>(data), &size), win::kSuccess);
  reg().CloseKey(h);
  EXPECT_EQ(std::string(data, size), std::string("Windows_NT", 11));
  EXPECT_FALSE(Exists(file_.file())) << "reading writes nothing";

  reg().CloseKey(Create("Software\\New"));
  ASSERT_TRUE(Exists(file_.file())) << "the folder is made as well";
  std::string text = ReadBytes(file_.file());
  EXPECT_EQ(text.rfind("QZR_TC registry 1\n", 0), 0u);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\New]\n"), std::string::npos);
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\n"
                      "\"OS\"=1:57696E646F77735F4E5400\n"),
            std::string::npos);
}

TEST_F(RegistrySubstitute, LinesThatDoNotFitAreSkipped) {
  std::string folder = FolderPart(file_.file());
  ASSERT_TRUE(Os().files->MakeDirectory(folder.substr(0, folder.size() - 1)));
  WriteBytes(file_.file(),
             "QZR_TC registry 1\r\n"
             "[HKEY_CURRENT_USER\\Good]\r\n"
             "\"a\"=4:01000000\r\n"
             "\"bad hex\"=3:0G\r\n"
             "\"no type\"=:00\r\n"
             "garbage\r\n"
             "[HKEY_NOWHERE\\X]\r\n"
             "\"lost\"=3:00\r\n"
             "[HKEY_CURRENT_USER\\Good\\%41]\r\n"
             "\"b%22\"=3:FF\r\n");
  Substitute().Reload();
  EXPECT_EQ(Get("Good", "a"), std::make_pair(win::kRegDword, std::string("\x01\0\0\0", 4)));
  EXPECT_EQ(Get("Good", "bad hex"), std::nullopt);
  EXPECT_EQ(Get("Good", "no type"), std::nullopt);
  EXPECT_EQ(Get("Good\\A", "b\""), std::make_pair(win::kRegBinary, std::string("\xff")));
}

// The reader keeps the keys of the header before, so each header here shares some text with the
// one above it: up to a whole name, into the middle of one, past a root, up to a name it refuses.
TEST(RegistryFile, EachHeaderNamesItsOwnKeyWhateverTheHeaderBeforeIt) {
  posix::RegistryTree tree;
  posix::ParseRegistry("QZR_TC registry 1\n"
                       "[HKEY_CURRENT_USER\\A\\B]\n\"1\"=4:01\n"
                       "[HKEY_CURRENT_USER\\AB]\n\"2\"=4:02\n"
                       "[HKEY_CURRENT_USER\\A]\n\"3\"=4:03\n"
                       "[HKEY_CURRENT_USERX\\A]\n\"lost\"=4:00\n"
                       "[HKEY_CURRENT_USER\\a\\b\\C]\n\"4\"=4:04\n"
                       "[HKEY_CURRENT_USER\\A\\%ZZ\\D]\n\"lost\"=4:00\n"
                       "[HKEY_CURRENT_USER\\A\\%ZZ]\n\"lost\"=4:00\n"
                       "[HKEY_CURRENT_USER\\A\\]\n\"lost\"=4:00\n"
                       "[HKEY_CURRENT_USER\\A\\E]\n\"5\"=4:05\n"
                       "[HKEY_LOCAL_MACHINE\\A\\B]\n\"6\"=4:06\n"
                       "[HKEY_CURRENT_USER\\A\\B\\C]\n\"7\"=4:07\n",
                       &tree);
  EXPECT_EQ(posix::FormatRegistry(tree),
            "QZR_TC registry 1\n"
            "[HKEY_CLASSES_ROOT]\n"
            "[HKEY_CURRENT_USER]\n"
            "[HKEY_CURRENT_USER\\A]\n\"3\"=4:03\n"
            "[HKEY_CURRENT_USER\\A\\B]\n\"1\"=4:01\n"
            "[HKEY_CURRENT_USER\\A\\B\\C]\n\"4\"=4:04\n\"7\"=4:07\n"
            "[HKEY_CURRENT_USER\\A\\E]\n\"5\"=4:05\n"
            "[HKEY_CURRENT_USER\\AB]\n\"2\"=4:02\n"
            "[HKEY_LOCAL_MACHINE]\n"
            "[HKEY_LOCAL_MACHINE\\A]\n"
            "[HKEY_LOCAL_MACHINE\\A\\B]\n\"6\"=4:06\n"
            "[HKEY_USERS]\n"
            "[HKEY_CURRENT_CONFIG]\n");

  // A key lies at most 512 levels below its root; a header one deeper is a damaged line.
  std::string deepest = "HKEY_CURRENT_USER";
  for (int level = 0; level < 512; ++level) deepest += "\\k";
  posix::RegistryTree deep;
  posix::ParseRegistry("QZR_TC registry 1\n[" + deepest + "]\n\"kept\"=4:01\n[" + deepest + "\\k]\n\"lost\"=4:02\n", &deep);
  const std::string text = posix::FormatRegistry(deep);
  EXPECT_NE(text.find("[" + deepest + "]\n\"kept\"=4:01\n"), std::string::npos);
  EXPECT_EQ(text.find(deepest + "\\k]"), std::string::npos);
  EXPECT_EQ(text.find("lost"), std::string::npos);
}

TEST_F(RegistrySubstitute, AFailedSaveLeavesTheOldFileWhole) {
  RegHandle k = Create("Software\\S");
  Set(k, "first", win::kRegDword, "1111");
  std::string before = ReadBytes(file_.file());
  posix::Faults::Fail("RegistrySave", win::kDiskFull, "", 1);
  Set(k, "second", win::kRegDword, "2222");
  EXPECT_EQ(ReadBytes(file_.file()), before);
  EXPECT_EQ(ListFolder(FolderPart(file_.file())), std::vector<std::string>{"registry.txt"}) << "no leftovers";
  EXPECT_TRUE(Get("Software\\S", "second")) << "the change itself stands";
  Set(k, "third", win::kRegDword, "3333");
  reg().CloseKey(k);
  Substitute().Reload();
  EXPECT_TRUE(Get("Software\\S", "second")) << "the next save writes it";
  EXPECT_TRUE(Get("Software\\S", "third"));
}

TEST_F(RegistrySubstitute, AFileThatCannotBeReadIsNeverOverwritten) {
  ASSERT_TRUE(Os().files->MakeDirectory(FolderPart(file_.file()).substr(0, FolderPart(file_.file()).size() - 1)));
  ASSERT_TRUE(Os().files->MakeDirectory(file_.file())) << "a folder where the file should be";
  Substitute().Reload();
  RegHandle k = Create("Software\\M");
  Set(k, "v", win::kRegDword, "1111");
  EXPECT_TRUE(Get("Software\\M", "v")) << "the registry works in memory";
  reg().CloseKey(k);
  EXPECT_EQ(Os().files->GetAttributes(file_.file()) & win::kAttrDirectory, win::kAttrDirectory);
}

TEST_F(RegistrySubstitute, CallsFailOnDemand) {
  RegHandle k = Create("Software\\F");
  posix::Faults::Fail("RegSetValue", win::kAccessDenied, "F\\locked");
  uint8_t one = 1;
  EXPECT_EQ(reg().SetValue(k, "locked", win::kRegBinary, &one, 1), win::kAccessDenied);
  EXPECT_EQ(reg().SetValue(k, "free", win::kRegBinary, &one, 1), win::kSuccess);
  posix::Faults::Fail("RegEnumKey", win::kNotEnoughMemory, "Software\\F");
  char name[8];
  uint32_t length = sizeof name;
  EXPECT_EQ(reg().EnumKey(k, 0, name, &length), win::kNotEnoughMemory);
  posix::Faults::Fail("RegQueryValue", win::kAccessDenied, "\\free", 1);
  EXPECT_EQ(reg().QueryValue(k, "free", nullptr, nullptr, nullptr), win::kAccessDenied);
  EXPECT_EQ(reg().QueryValue(k, "free", nullptr, nullptr, nullptr), win::kSuccess) << "once only";
  reg().CloseKey(k);
}

TEST(RegistryFileLocation, EnvironmentThenConfigFolderThenHome) {
  {
    ScopedEnv file("QZR_REGISTRY_FILE", "/x/reg.txt");
    EXPECT_EQ(posix::RegistryFileLocation(), "/x/reg.txt");
  }
  ScopedEnv none("QZR_REGISTRY_FILE", nullptr);
  ScopedEnv home("HOME", "/home/u");
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(posix::RegistryFileLocation(), "/cfg/qzr_tc/registry.txt");
  }
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(posix::RegistryFileLocation(), "/home/u/.config/qzr_tc/registry.txt") << "only an absolute folder";
  }
  ScopedEnv noHome("HOME", nullptr);
  ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(posix::RegistryFileLocation(), "") << "then in memory only";
}

}  // namespace
}  // namespace qzr::test
#endif
