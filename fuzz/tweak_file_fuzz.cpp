// Feeds: a whole .tweak definition, written into a plugins folder (in the substitute's files in
// memory; on disk with QZR_FUZZ_FILES=disk) and loaded by the real
// database build (line splitting, comment cut, variable expansion in a fixed environment, the
// line parser, filing into qzr_plugins or ~trash), then the definition report of the tweak in
// every language.
// Checks: the table holds the definition exactly when it is filed as valid; a kept record has a
// name, a path and byte values within the size bound; the copy is the definition's bytes; each
// descript.ion has one line for it in the right folder; reports are 18 CR LF lines (none for a
// language other than English or Russian).
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "database/plugin_database.h"
#include "plugin/state_calls.h"
#include "definitions/report.h"
#include "fuzz_support.h"
#include "fuzzed_environment.h"
#include "platform/posix/memory_files.h"

namespace {
using namespace qzr;
using fuzz::Check;

size_t CountLineEnds(const std::string& text) {
  size_t count = 0;
  for (size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += 2) ++count;
  return count;
}

// A BIN value has the size in force when its line was read: never more than the bound.
bool Bounded(const TweakValue& value) {
  const auto* raw = std::get_if<TRaw>(&value);
  return !raw || raw->size() <= static_cast<size_t>(kMaxBinSize);
}

void CheckReport(const TTWREC& tweak) {
  for (uint8_t language : {kEnglish, kRussian}) {
    std::string report = DefinitionReport(tweak, language);
    Check(report.size() >= 2 && report.compare(report.size() - 2, 2, "\r\n") == 0, "report ends with CR LF");
    Check(CountLineEnds(report) >= 18, "report has 18 lines");
  }
  Check(DefinitionReport(tweak, 2).empty(), "no report in an unknown language");
}

// Where the definitions and the database are: the substitute's files in memory (thousands of
// inputs a second), or with QZR_FUZZ_FILES=disk real files in a scratch folder (one CTest replay).
struct Volume {
  Volume() {
    const char* files = std::getenv("QZR_FUZZ_FILES");
    if (files && std::string(files) == "disk") {
      root = fuzz::ScratchFolder();
    } else {
      files_ = std::make_unique<posix::MemoryFiles>();
      profile_ = std::make_unique<posix::Profile>(*files_);
      root = "/fuzz/";
    }
  }
  // Empty module and settings folders, the seam's files on this volume for the scope of `seams`.
  void Fresh() {
    if (files_) {
      files_->Clear();
    } else {
      std::filesystem::remove_all(root);
    }
    for (const char* folder : {"", "module", "module/plugins", "ini"}) Os().files->MakeDirectory(root + folder);
  }
  std::string Read(const std::string& path) const {
    std::string bytes;
    Os().files->ReadWhole(path, &bytes);
    return bytes;
  }
  struct Seams {
    Seams(Volume& v)
        : files(Os().files, v.files_ ? v.files_.get() : Os().files),
          profile(Os().profile, v.profile_ ? v.profile_.get() : Os().profile),
          system(Os().system, &v.Environment()) {}
    Override<FileApi> files;
    Override<ProfileApi> profile;
    Override<SystemApi> system;
  };
  std::string root;

 private:
  // The same few variables on every machine, so that an input expands alike wherever it is
  // replayed: a Windows user's usual ones, a value that brings in another reference, and two
  // values that refer to each other.
  fuzz::FuzzedEnvironment& Environment() {
    if (!environment_) {
      environment_ = std::make_unique<fuzz::FuzzedEnvironment>(*Os().system);
      environment_->variables = {{"WINDIR", "C:\\Windows"},
                                 {"SYSTEMROOT", "C:\\Windows"},
                                 {"USERPROFILE", "C:\\Users\\Fuzz"},
                                 {"APPDATA", "C:\\Users\\Fuzz\\AppData\\Roaming"},
                                 {"TEMP", "C:\\Users\\Fuzz\\AppData\\Local\\Temp"},
                                 {"PROGRAMFILES", "C:\\Program Files"},
                                 {"QZR_FUZZ_A", "a%QZR_FUZZ_B%"},
                                 {"QZR_FUZZ_B", "%QZR_FUZZ_A%b"}};
    }
    return *environment_;
  }
  std::unique_ptr<fuzz::FuzzedEnvironment> environment_;

  std::unique_ptr<posix::MemoryFiles> files_;
  std::unique_ptr<posix::Profile> profile_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Volume volume;
  Volume::Seams seams(volume);
  volume.Fresh();
  const std::string moduleDir = volume.root + "module/", iniDir = volume.root + "ini/";

  // A fresh module state for every input; the OS family and the language follow the input's
  // length, so the definition text stays a plain file.
  ResetState();
  State().ModuleDir = moduleDir;
  State().IniDir = iniDir;
  State().OSIsNT = size % 2 == 0;
  State().Language = static_cast<uint8_t>(size / 2 % 3);

  const std::string definition(reinterpret_cast<const char*>(data), size);
  Check(Os().files->WriteWhole(moduleDir + "plugins/fuzzed.tweak", definition) == 0, "the definition is written");
  BuildPluginDatabase();

  const PluginState& s = State();
  Check(s.TweakPos >= 0 && static_cast<size_t>(s.TweakPos) == s.TweakTable.size() && s.TweakPos <= 1,
        "one definition gives at most one record");
  const bool valid = s.TweakPos == 1;
  const std::string validList = volume.Read(iniDir + "qzr_plugins/descript.ion");
  const std::string trashList = volume.Read(iniDir + "~trash/descript.ion");
  Check(CountLineEnds(validList) == (valid ? 1u : 0u), "qzr_plugins/descript.ion lists the valid definition");
  Check(CountLineEnds(trashList) == (valid ? 0u : 1u), "~trash/descript.ion lists the rejected definition");
  Check((valid ? validList : trashList).rfind("\"fuzzed.tweak\" ", 0) == 0, "descript.ion line names the file");
  const std::string copy = iniDir + (valid ? "qzr_plugins/" : "~trash/") + "fuzzed.tweak";
  Check(volume.Read(copy) == definition, "the filed copy is the definition");

  if (valid) {
    const TTWREC& t = s.TweakTable.front();
    Check(!t.TweakName.empty() && !t.Path.empty(), "a kept record has a name and a path");
    Check(t.Location == iniDir + "qzr_plugins/fuzzed.tweak", "a kept record is located in qzr_plugins");
    Check(Bounded(t.ValueOn) && Bounded(t.ValueOff) && Bounded(t.DefValue), "BIN values stay within the bound");
    CheckReport(t);
  }
  // Freed within the run: memory kept from one run to the next makes libFuzzer run the input
  // again to look for a leak.
  ResetState();
  return 0;
}
