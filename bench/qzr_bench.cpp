// Benchmarks of the first listing (the database build) against the plain copy of the same
// definition files, of name lookups, of the memory a loaded tweak takes, and of the panel's
// State column read for every tweak. Native builds only.
// Usage: qzr_bench [--qzr_sizes=1000,10000] [Google Benchmark flags]
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "plugin/content_fields.h"
#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace qzr {
namespace {

using Clock = std::chrono::steady_clock;

// A folder on a memory file system (/dev/shm where there is one, else the system's temporary
// folder), removed with everything in it: the build is measured against the copy, not the disk.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& tag) {
    std::error_code ignored;
    const fs::path base = fs::is_directory("/dev/shm", ignored) ? fs::path("/dev/shm") : fs::temp_directory_path();
    path_ = base / ("qzr_bench_" + tag + "_" + std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // With a trailing delimiter, as ModuleDir and IniDir hold folders.
  std::string dir() const { return path_.string() + "/"; }
  // Empties the folder between runs.
  void Clear() {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }

 private:
  fs::path path_;
};

// One definition of the kind the library ships: a comment, then ten keyword lines; the stores
// take turns so the parser sees REG, INI and CFG definitions.
std::string Definition(int i, bool registryOnly) {
  const std::string n = std::to_string(i);
  std::string text = "//  Generated tweak " + n + ": switches one setting of a made-up program\r\n";
  text += "TWEAKNAME> Bench - Setting number " + n + "\r\n";
  switch (registryOnly ? 0 : i % 3) {
    case 0:
      text += "TYPE> REG\r\nOS> NT\r\nROOTKEY> HKCU\r\n";
      text += "PATH> Software\\Bench\\Program" + n + "\\Settings\r\n";
      text += "VALUENAME> Option" + n + "\r\nVALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n";
      break;
    case 1:
      text += "TYPE> INI\r\nOS> NT\r\nPATH> %USERPROFILE%\\bench" + n + ".ini\r\nSECTION> main\r\n";
      text += "VALUENAME> option" + n + "\r\nVALUETYPE> STRING\r\nVALUEON> true\r\nVALUEOFF> #SYSDELVAL\r\n";
      text += "DEFAULT> #SYSDELVAL\r\n";
      break;
    default:
      text += "TYPE> CFG\r\nOS> NT\r\nPATH> %USERPROFILE%\\.bench" + n + "rc\r\n";
      text += "VALUENAME> option-" + n + "\r\nVALUETYPE> STRING\r\nVALUEON> false\r\nVALUEOFF> #SYSDELVAL\r\n";
      text += "DEFAULT> #SYSDELVAL\r\n";
      break;
  }
  return text;
}

// N definitions in <module>/plugins, and a database folder the runs build into. Every other
// registry tweak has its value in the substitute registry, switched on, so that reading its
// state goes down to the value.
struct Library {
  Library(int count, bool registryOnly)
      : module((registryOnly ? "regmodule" : "module") + std::to_string(count)),
        ini((registryOnly ? "regini" : "ini") + std::to_string(count)) {
    fs::create_directories(module.dir() + "plugins");
    for (int i = 0; i < count; ++i) {
      const std::string name = module.dir() + "plugins/bench_" + std::to_string(i) + ".tweak";
      Os().files->WriteWhole(name, Definition(i, registryOnly));
      files.push_back(name);
      if ((registryOnly || i % 3 == 0) && i % 2 == 0) SetOption(i);
    }
  }
  static void SetOption(int i) {
    RegHandle key = 0;
    const std::string n = std::to_string(i);
    if (Os().registry->CreateKey(kHkeyCurrentUser, "Software\\Bench\\Program" + n + "\\Settings", win::kKeyAllAccess,
                                 &key) != win::kSuccess)
      return;
    const uint32_t on = 1;
    Os().registry->SetValue(key, "Option" + n, win::kRegDword, reinterpret_cast<const uint8_t*>(&on), 4);
    Os().registry->CloseKey(key);
  }
  ScratchFolder module;
  ScratchFolder ini;
  std::vector<std::string> files;
};

Library& LibraryOf(int count, bool registryOnly = false) {
  static std::map<std::pair<int, bool>, std::unique_ptr<Library>> libraries;
  auto& library = libraries[{count, registryOnly}];
  if (!library) library = std::make_unique<Library>(count, registryOnly);
  return *library;
}

// A fresh load: empty state and an empty database folder.
void FreshLoad(Library& library) {
  library.ini.Clear();
  ResetState();
  State().ModuleDir = library.module.dir();
  State().IniDir = library.ini.dir();
  State().OSIsNT = true;
}

// Seconds per run of each measured step, by N, for the summary.
std::map<int, double> firstListingSeconds, copyFloorSeconds, bareCopySeconds, lookupSeconds, stateSeconds, registryStateSeconds;
std::map<int, double> fileReadsPerFileTweak;
std::map<int, double> bytesPerTweak, stringBytesPerTweak;

void BM_FirstListing(benchmark::State& bench) {
  Library& library = LibraryOf(static_cast<int>(bench.range(0)));
  double total = 0;
  for (auto _ : bench) {
    FreshLoad(library);
    auto start = Clock::now();
    FirstEntry first = FindFirstEntry();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    benchmark::DoNotOptimize(first);
    bench.SetIterationTime(seconds);
    total += seconds;
  }
  if (State().TweakPos != bench.range(0)) bench.SkipWithError("not every definition was loaded");
  firstListingSeconds[static_cast<int>(bench.range(0))] = total / static_cast<double>(bench.iterations());
}

// The bare least a copy takes: open, read, create, write, close, with no look at either file.
void BareCopy(const std::string& source, const std::string& target) {
  static std::vector<char> buffer(1 << 16);
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return;
  int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  for (ssize_t n; out >= 0 && (n = ::read(in, buffer.data(), buffer.size())) > 0;) {
    if (::write(out, buffer.data(), static_cast<size_t>(n)) != n) break;
    if (static_cast<size_t>(n) < buffer.size()) break;  // a regular file's last read is short
  }
  if (out >= 0) ::close(out);
  ::close(in);
}

// The least the build must do: find the files by reading the folder, copy each and write its
// descript.ion line, appended once. `copy` copies one file.
template <typename CopyOne>
void CopyEveryFile(benchmark::State& bench, CopyOne copy, std::map<int, double>& seconds) {
  Library& library = LibraryOf(static_cast<int>(bench.range(0)));
  FileApi& files = *Os().files;
  double total = 0;
  for (auto _ : bench) {
    library.ini.Clear();
    auto start = Clock::now();
    const std::string target = library.ini.dir() + "qzr_plugins/";
    files.MakeDirectory(library.ini.dir() + "qzr_plugins");
    std::string lines;
    const std::string plugins = library.module.dir() + "plugins/";
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(plugins.c_str())) {
      while (dirent* entry = ::readdir(dir))
        if (std::string_view(entry->d_name).ends_with(".tweak")) names.emplace_back(entry->d_name);
      ::closedir(dir);
    }
    for (const std::string& name : names) {
      copy(plugins + name, target + name);
      lines += '"';
      lines += name;
      lines += "\" Bench - Setting\r\n";
    }
    files.AppendTo(target + "descript.ion", lines);
    double run = std::chrono::duration<double>(Clock::now() - start).count();
    bench.SetIterationTime(run);
    total += run;
  }
  seconds[static_cast<int>(bench.range(0))] = total / static_cast<double>(bench.iterations());
}

// A plain copy of each file, as the system copies one (CopyFileA; the substitute on Linux).
void BM_CopyFloor(benchmark::State& bench) {
  CopyEveryFile(
      bench, [](const std::string& source, const std::string& target) { Os().files->Copy(source, target, false); },
      copyFloorSeconds);
}

void BM_BareCopyFloor(benchmark::State& bench) { CopyEveryFile(bench, BareCopy, bareCopySeconds); }

// The heap a value holds beyond the record itself.
size_t HeapOf(const std::string& text) { return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0; }
size_t HeapOf(const TweakValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return HeapOf(*text);
  if (const auto* raw = std::get_if<TRaw>(&value)) return raw->capacity();
  return 0;
}

void BM_Lookups(benchmark::State& bench) {
  const int count = static_cast<int>(bench.range(0));
  Library& library = LibraryOf(count);
  FreshLoad(library);
  std::vector<std::string> remoteNames;
  FirstEntry first = FindFirstEntry();
  for (auto entry = std::optional<ListedEntry>(first.Entry); entry; entry = FindNextEntry(first.Handle))
    remoteNames.push_back(kPathDelim + entry->Name);
  CloseSearch(first.Handle);

  double total = 0;
  for (auto _ : bench) {
    auto start = Clock::now();
    int32_t found = 0;
    for (const std::string& name : remoteNames) found += TweakIndexOf(name) >= 0;
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (found != count) bench.SkipWithError("a listed name was not found");
    bench.SetIterationTime(seconds);
    total += seconds;
  }
  const double perRun = total / static_cast<double>(bench.iterations());
  lookupSeconds[count] = perRun;
  bench.counters["ns_per_lookup"] = perRun * 1e9 / count;

  // Memory: the record, its share of the table's spare capacity, and its strings and values.
  const PluginState& s = State();
  size_t strings = 0;
  for (const TTWREC& r : s.TweakTable) {
    strings += HeapOf(r.Path) + HeapOf(r.VarName) + HeapOf(r.Section) + HeapOf(r.TweakName) + HeapOf(r.Location);
    strings += HeapOf(r.ValueOn) + HeapOf(r.ValueOff) + HeapOf(r.DefValue);
  }
  const double records = static_cast<double>(s.TweakTable.capacity() * sizeof(TTWREC)) / count;
  bytesPerTweak[count] = records;
  stringBytesPerTweak[count] = static_cast<double>(strings) / count;
  bench.counters["record_bytes_per_tweak"] = records;
  bench.counters["string_bytes_per_tweak"] = static_cast<double>(strings) / count;
}

// The panel after a listing: the State of every tweak, as the host asks for it (the listing
// forgets the read cache first). `fields` also asks for Is default, which needs the same value.
double ReadStates(const std::vector<std::string>& remoteNames, bool withIsDefault, int& failures) {
  PanelReads().Invalidate();
  auto start = Clock::now();
  auto failed = [](const FieldAnswer& answer) {
    return answer.Kind == AnswerKind::kFileError || answer.Kind == AnswerKind::kNoSuchField;
  };
  for (const std::string& name : remoteNames) {
    if (failed(GetFieldValue(name, static_cast<int>(ContentField::kState)))) ++failures;
    if (withIsDefault && failed(GetFieldValue(name, static_cast<int>(ContentField::kIsDefault)))) ++failures;
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> ListedNames() {
  std::vector<std::string> remoteNames;
  FirstEntry first = FindFirstEntry();
  for (auto entry = std::optional<ListedEntry>(first.Entry); entry; entry = FindNextEntry(first.Handle))
    remoteNames.push_back(kPathDelim + entry->Name);
  CloseSearch(first.Handle);
  return remoteNames;
}

// The State and Is default columns of the mixed library: registry, INI and CFG tweaks in turn.
void BM_StateColumn(benchmark::State& bench) {
  const int count = static_cast<int>(bench.range(0));
  FreshLoad(LibraryOf(count));
  const std::vector<std::string> remoteNames = ListedNames();
  double total = 0;
  int failures = 0;
  int64_t reads = 0;
  for (auto _ : bench) {
    const int64_t before = PanelReads().FileReads();
    double seconds = ReadStates(remoteNames, true, failures);
    reads = PanelReads().FileReads() - before;
    bench.SetIterationTime(seconds);
    total += seconds;
  }
  if (failures) bench.SkipWithError("a State could not be read");
  stateSeconds[count] = total / static_cast<double>(bench.iterations());
  // Two fields of each INI and CFG tweak: one reading of its file's entries, not two.
  const double fileTweaks = static_cast<double>(count - (count + 2) / 3);
  fileReadsPerFileTweak[count] = fileTweaks > 0 ? static_cast<double>(reads) / fileTweaks : 0;
  bench.counters["file_reads_per_file_tweak"] = fileReadsPerFileTweak[count];
}

// The State column of a library of registry tweaks only, half of them with their value set.
void BM_RegistryStateColumn(benchmark::State& bench) {
  const int count = static_cast<int>(bench.range(0));
  FreshLoad(LibraryOf(count, true));
  const std::vector<std::string> remoteNames = ListedNames();
  double total = 0;
  int failures = 0;
  for (auto _ : bench) {
    double seconds = ReadStates(remoteNames, false, failures);
    bench.SetIterationTime(seconds);
    total += seconds;
  }
  if (failures) bench.SkipWithError("a State could not be read");
  registryStateSeconds[count] = total / static_cast<double>(bench.iterations());
}

// --qzr_sizes=1000,10000 (the default) chooses the numbers of definitions.
std::vector<int64_t> Sizes(int& argc, char** argv) {
  std::vector<int64_t> sizes{1000, 10000};
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--qzr_sizes=", 0) != 0) continue;
    sizes.clear();
    for (size_t at = arg.find('=') + 1; at < arg.size();) {
      size_t comma = arg.find(',', at);
      if (comma == std::string::npos) comma = arg.size();
      sizes.push_back(std::atoll(arg.substr(at, comma - at).c_str()));
      at = comma + 1;
    }
    for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
    --argc;
    --i;
  }
  return sizes;
}

void PrintSummary() {
  std::printf("\nSummary (sizeof(TTWREC) = %zu bytes)\n", sizeof(TTWREC));
  for (const auto& [count, listing] : firstListingSeconds) {
    std::printf("N=%6d  first listing %8.2f ms  copy floor %8.2f ms  ratio %.2f", count, listing * 1e3,
                copyFloorSeconds[count] * 1e3, copyFloorSeconds[count] > 0 ? listing / copyFloorSeconds[count] : 0.0);
    if (bareCopySeconds[count] > 0)
      std::printf("  (bare read/write copy %8.2f ms, ratio %.2f)", bareCopySeconds[count] * 1e3,
                  listing / bareCopySeconds[count]);
    if (lookupSeconds.count(count))
      std::printf("  lookups %7.3f ms total, %6.1f ns each  record %6.1f B + strings %6.1f B per tweak",
                  lookupSeconds[count] * 1e3, lookupSeconds[count] * 1e9 / count, bytesPerTweak[count],
                  stringBytesPerTweak[count]);
    std::printf("\n");
  }
  for (const auto& [count, seconds] : registryStateSeconds)
    std::printf("N=%6d  State column: registry tweaks %8.2f ms (limit 100 ms for 10 000); mixed library, State and "
                "Is default %8.2f ms, %.2f file reads per INI/CFG tweak\n",
                count, seconds * 1e3, stateSeconds[count] * 1e3, fileReadsPerFileTweak[count]);
}

}  // namespace
}  // namespace qzr

int main(int argc, char** argv) {
  using namespace qzr;
  const std::vector<int64_t> sizes = Sizes(argc, argv);
  for (int64_t n : sizes) {
    benchmark::RegisterBenchmark("FirstListing", BM_FirstListing)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("CopyFloor", BM_CopyFloor)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BareCopyFloor", BM_BareCopyFloor)
        ->Arg(n)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Lookups", BM_Lookups)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("StateColumn", BM_StateColumn)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RegistryStateColumn", BM_RegistryStateColumn)
        ->Arg(n)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
