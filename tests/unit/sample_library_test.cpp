// The tweak library shipped in the release (library/plugins): every definition is read by the real
// database build as the module reads it on the NT family, and each one means what it says.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "database/plugin_database.h"
#include "plugin/state_calls.h"
#include "apply/setting_effects.h"
#include "apply/tweak_state.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {
namespace fs = std::filesystem;

std::string UpperName(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Whether a filled value holds the kind its data type gives (a deletion stores the zero value).
bool KindFits(const TweakValue& v, uint8_t dataType) {
  switch (dataType) {
    case kDataDword: return std::holds_alternative<int32_t>(v);
    case kDataString: return std::holds_alternative<std::string>(v);
    case kDataBin: return std::holds_alternative<TRaw>(v);
    default: return false;
  }
}

class SampleLibraryTest : public PluginTest {
 protected:
  void SetUp() override {
    fs::create_directories(module_.path("plugins"));
    for (const std::string& name : ListFolder(SourcePath("library/plugins"))) {
      files_.push_back(name);
      fs::copy_file(fs::path(SourcePath("library/plugins")) / name, fs::path(module_.path("plugins")) / name);
    }
    ResetState();
    State().ModuleDir = module_.dir();
    State().IniDir = ini_.dir();
    State().OSIsNT = true;
    BuildPluginDatabase();
    for (const TTWREC& t : State().TweakTable) byFile_[fs::path(t.Location).filename().string()] = &t;
  }

  const TTWREC& Tweak(const std::string& file) {
    auto it = byFile_.find(file);
    if (it != byFile_.end()) return *it->second;
    ADD_FAILURE() << file << " is not among the valid definitions";
    static const TTWREC none;
    return none;
  }

  ScopedEnv profile_{"USERPROFILE", "C:\\Users\\me"};
  TempFolder module_;
  TempFolder ini_;
  std::vector<std::string> files_;
  std::map<std::string, const TTWREC*> byFile_;
};

TEST_F(SampleLibraryTest, EveryDefinitionIsValidOnTheNtFamily) {
  ASSERT_GE(files_.size(), 125u);
  for (const std::string& name : files_) EXPECT_TRUE(name.ends_with(".tweak")) << name;
  EXPECT_EQ(State().TweakTable.size(), files_.size());
  EXPECT_EQ(State().TweakPos, static_cast<int32_t>(files_.size()));
  EXPECT_EQ(ListFolder(ini_.path("~trash")), std::vector<std::string>{"directory.txt"}) << "nothing rejected";
  std::vector<std::string> filed = ListFolder(ini_.path("qzr_plugins"));
  for (const std::string& name : files_) EXPECT_TRUE(std::count(filed.begin(), filed.end(), name)) << name;
}

TEST_F(SampleLibraryTest, FilesAreAsciiWithCrLfAndNameWhatTheyDo) {
  for (const std::string& name : files_) {
    std::string text = ReadBytes(module_.path("plugins") + kPathDelim + name);
    EXPECT_EQ(text.rfind("//", 0), 0u) << name << ": a comment line first, saying what the tweak does";
    EXPECT_TRUE(text.ends_with("\r\n")) << name;
    for (size_t i = 0; i < text.size(); ++i) {
      auto c = static_cast<unsigned char>(text[i]);
      ASSERT_TRUE(c < 0x80 && (c >= 0x20 || c == '\r' || c == '\n')) << name << ": byte " << i;
      bool crLf = c == '\n' ? i > 0 && text[i - 1] == '\r' : c != '\r' || (i + 1 < text.size() && text[i + 1] == '\n');
      ASSERT_TRUE(crLf) << name << ": a line end other than CR LF at byte " << i;
    }
  }
}

// Every registry tweak finds its own row of the setting effects (never the row for what the table
// does not know), and the row's timing is the one the comment states: a setting the row sets
// through SystemParametersInfo shows at once although its registry value waits for a sign-in.
TEST_F(SampleLibraryTest, EveryTweakHasItsRowOfSettingEffectsAndTheTimingItsCommentStates) {
  const std::pair<const char*, EffectTiming> stated[] = {
      {"takes effect at once", EffectTiming::kAtOnce},
      {"takes effect when Explorer restarts", EffectTiming::kExplorerRestart},
      {"takes effect after a restart", EffectTiming::kRestart},
      {"the next sign-in", EffectTiming::kSignOut},
      {"takes effect when Edge", EffectTiming::kProgramRestart},
  };
  int checked = 0;
  for (const std::string& name : files_) {
    const TTWREC& tweak = Tweak(name);
    if (tweak.PlugType != kPlugReg) {
      EXPECT_EQ(SettingEffectOf(tweak).Timing, EffectTiming::kProgramRestart) << name;
      continue;
    }
    const SettingEffect* row = FindSettingEffect(tweak);
    if (!row) {
      ADD_FAILURE() << name << ": no row of the setting effects holds " << tweak.Path << "\\" << tweak.VarName;
      continue;
    }
    const std::string text = ReadBytes(module_.path("plugins") + kPathDelim + name);
    const std::string comments = text.substr(0, text.find("TWEAKNAME>"));
    for (const auto& [phrase, timing] : stated) {
      if (comments.find(phrase) == std::string::npos) continue;
      const bool setAtOnce = timing == EffectTiming::kSignOut && row->ParameterAction != 0;
      EXPECT_EQ(row->Timing, setAtOnce ? EffectTiming::kAtOnce : timing) << name << ": " << phrase;
      ++checked;
      break;
    }
  }
  EXPECT_GE(checked, 60) << "the phrases still name most comments' timings";
}

TEST_F(SampleLibraryTest, NamesAreDistinctFileNames) {
  std::map<std::string, std::string> seen;
  for (const TTWREC& t : State().TweakTable) {
    // The listing names the virtual file after the tweak and finds it again without regard to case.
    auto [it, fresh] = seen.emplace(UpperName(t.TweakName), t.Location);
    EXPECT_TRUE(fresh) << t.TweakName << " in " << t.Location << " and " << it->second;
    EXPECT_EQ(t.TweakName.find_first_of("\\/:*?\"<>|%"), std::string::npos) << t.TweakName;
    EXPECT_NE(t.TweakName.front(), '@') << t.TweakName << ": names starting with @ are not listed";
    EXPECT_LT(t.TweakName.size(), 200u) << t.TweakName;
  }
}

TEST_F(SampleLibraryTest, EveryDefinitionIsComplete) {
  for (const TTWREC& t : State().TweakTable) {
    SCOPED_TRACE(t.TweakName);
    EXPECT_EQ(t.OSKind, kOSNT);
    EXPECT_NE(t.DataType, kDataNone);
    EXPECT_FALSE(t.VarName.empty());
    if (t.PlugType == kPlugReg) {
      EXPECT_TRUE(t.RootKey == kRootCurrentUser || t.RootKey == kRootLocalMachine) << int(t.RootKey);
    } else {
      EXPECT_NE(t.DataType, kDataBin) << "file stores hold no byte arrays";
    }
    if (t.PlugType == kPlugIni) {
      EXPECT_FALSE(t.Section.empty());
    }
    if (t.DataType == kDataBin) {
      EXPECT_GT(t.DataSize, 0);
    }
    // Every value was read after the data type (and size) that it depends on.
    EXPECT_TRUE(KindFits(t.DefValue, t.DataType));
    if (t.ByHands) continue;
    EXPECT_TRUE(KindFits(t.ValueOn, t.DataType));
    EXPECT_TRUE(KindFits(t.ValueOff, t.DataType));
    if (t.DataType == kDataBin && !t.ValueOnDelVal) {
      EXPECT_EQ(std::get<TRaw>(t.ValueOn).size(), static_cast<size_t>(t.DataSize));
    }
    bool onDeletes = t.ValueOnDelVal || t.ValueOnDelKey;
    bool offDeletes = t.ValueOffDelVal || t.ValueOffDelKey;
    EXPECT_FALSE(onDeletes && offDeletes);
    if (!onDeletes && !offDeletes) {
      EXPECT_NE(t.ValueOn, t.ValueOff) << "on and off must differ";
    }
  }
}

// The apply dialog shows YES or NO for the default. A deletion stores the zero value of the type,
// so a default "#SYSDELVAL" next to an "on" value of 0 (or of "") would read as "on"; the library
// must not contain such a pair.
TEST_F(SampleLibraryTest, TheDefaultReadsAsTheStateItStandsFor) {
  for (const TTWREC& t : State().TweakTable) {
    if (t.ByHands) continue;
    SCOPED_TRACE(t.TweakName);
    bool defDeletes = t.DefDelVal || t.DefDelKey;
    bool onDeletes = t.ValueOnDelVal || t.ValueOnDelKey;
    bool meant = defDeletes ? (t.DefDelVal && t.ValueOnDelVal) || (t.DefDelKey && t.ValueOnDelKey)
                            : !onDeletes && t.DefValue == t.ValueOn;
    EXPECT_EQ(DefaultIsOn(t), meant);
  }
}

// Save needs administrator rights only for HKEY_LOCAL_MACHINE, so the name tells which tweaks those are;
// a policy is only shipped with the Microsoft page that documents it named in its comment.
TEST_F(SampleLibraryTest, MachineWideNamesAndPolicyPages) {
  for (const TTWREC& t : State().TweakTable) {
    SCOPED_TRACE(t.TweakName);
    bool machineWide = t.PlugType == kPlugReg && t.RootKey == kRootLocalMachine;
    EXPECT_EQ(t.TweakName.ends_with(" (all users)"), machineWide);
    if (t.PlugType != kPlugReg || UpperName(t.Path).find("\\POLICIES\\") == std::string::npos) continue;
    std::string name = fs::path(t.Location).filename().string();
    std::string text = ReadBytes(module_.path("plugins") + kPathDelim + name);
    std::string comments = text.substr(0, text.find("TWEAKNAME>"));
    EXPECT_NE(comments.find("//  https://learn.microsoft.com/"), std::string::npos) << name;
  }
}

TEST_F(SampleLibraryTest, SpotChecks) {
  const TTWREC& ext = Tweak("explorer_file_extensions.tweak");
  EXPECT_EQ(ext.PlugType, kPlugReg);
  EXPECT_EQ(ext.RootKey, kRootCurrentUser);
  EXPECT_EQ(ext.Path, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
  EXPECT_EQ(ext.VarName, "HideFileExt");
  EXPECT_EQ(ext.ValueOn, TweakValue(0));
  EXPECT_EQ(ext.ValueOff, TweakValue(1));
  EXPECT_EQ(ext.DefValue, TweakValue(1));

  const TTWREC& search = Tweak("taskbar_search_mode.tweak");
  EXPECT_TRUE(search.ByHands);
  EXPECT_EQ(search.DataType, kDataDword);
  EXPECT_EQ(search.DefValue, TweakValue(2));

  const TTWREC& delay = Tweak("mouse_menu_show_delay.tweak");
  EXPECT_TRUE(delay.ByHands);
  EXPECT_EQ(delay.DefValue, TweakValue(std::string("400")));

  const TTWREC& sticky = Tweak("keyboard_sticky_keys.tweak");
  EXPECT_EQ(sticky.ValueOn, TweakValue(std::string("510")));
  EXPECT_EQ(sticky.ValueOff, TweakValue(std::string("506")));

  const TTWREC& caps = Tweak("keyboard_no_caps_lock.tweak");
  EXPECT_EQ(caps.RootKey, kRootLocalMachine);
  EXPECT_EQ(caps.VarName, "Scancode Map");
  EXPECT_EQ(caps.DataSize, 20);
  EXPECT_EQ(caps.ValueOn, TweakValue(TRaw{0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0x3A, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(caps.ValueOffDelVal && caps.DefDelVal);

  const TTWREC& endTask = Tweak("taskbar_end_task.tweak");
  EXPECT_TRUE(endTask.ValueOffDelVal);
  EXPECT_TRUE(endTask.DefDelKey);

  const TTWREC& wsl = Tweak("wsl_no_gui_apps.tweak");
  EXPECT_EQ(wsl.PlugType, kPlugIni);
  EXPECT_EQ(wsl.Path, std::string("C:\\Users\\me") + "\\.wslconfig");
  EXPECT_EQ(wsl.Section, "WSL2");
  EXPECT_EQ(wsl.ValueOn, TweakValue(std::string("false")));

  const TTWREC& npm = Tweak("npm_no_update_notice.tweak");
  EXPECT_EQ(npm.PlugType, kPlugCfg);
  EXPECT_EQ(npm.Path, "C:\\Users\\me\\.npmrc");
  EXPECT_EQ(npm.VarName, "update-notifier");
}

}  // namespace
}  // namespace qzr::test
