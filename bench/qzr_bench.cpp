// Benchmarks of the first listing (the database build) against the plain copy of the same
// definition files, of name lookups, and of the memory a loaded tweak takes. Native builds only.
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
#include <vector>

#include <unistd.h>

#include "plugin/listing.h"
#include "plugin/plugin_state.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace qzr {
namespace {

using Clock = std::chrono::steady_clock;

// A folder below the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& tag) {
    path_ = fs::temp_directory_path() / ("qzr_bench_" + tag + "_" + std::to_string(::getpid()));
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
std::string Definition(int i) {
  const std::string n = std::to_string(i);
  std::string text = "//  Generated tweak " + n + ": switches one setting of a made-up program\r\n";
  text += "TWEAKNAME> Bench - Setting number " + n + "\r\n";
  switch (i % 3) {
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

// N definitions in <module>/plugins, and a database folder the runs build into.
struct Library {
  explicit Library(int count) : module("module" + std::to_string(count)), ini("ini" + std::to_string(count)) {
    fs::create_directories(module.dir() + "plugins");
    for (int i = 0; i < count; ++i) {
      const std::string name = module.dir() + "plugins/bench_" + std::to_string(i) + ".tweak";
      Os().files->WriteWhole(name, Definition(i));
      files.push_back(name);
    }
  }
  ScratchFolder module;
  ScratchFolder ini;
  std::vector<std::string> files;
};

Library& LibraryOf(int count) {
  static std::map<int, std::unique_ptr<Library>> libraries;
  auto& library = libraries[count];
  if (!library) library = std::make_unique<Library>(count);
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
std::map<int, double> firstListingSeconds, copyFloorSeconds, lookupSeconds;
std::map<int, double> bytesPerTweak, stringBytesPerTweak;

void BM_FirstListing(benchmark::State& bench) {
  Library& library = LibraryOf(static_cast<int>(bench.range(0)));
  double total = 0;
  for (auto _ : bench) {
    FreshLoad(library);
    auto start = Clock::now();
    ListedEntry first = FindFirstEntry();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    benchmark::DoNotOptimize(first);
    bench.SetIterationTime(seconds);
    total += seconds;
  }
  if (State().TweakPos != bench.range(0)) bench.SkipWithError("not every definition was loaded");
  firstListingSeconds[static_cast<int>(bench.range(0))] = total / static_cast<double>(bench.iterations());
}

// The least the build must do: copy each file and write its descript.ion line, appended once.
void BM_CopyFloor(benchmark::State& bench) {
  Library& library = LibraryOf(static_cast<int>(bench.range(0)));
  FileApi& files = *Os().files;
  double total = 0;
  for (auto _ : bench) {
    library.ini.Clear();
    auto start = Clock::now();
    const std::string target = library.ini.dir() + "qzr_plugins/";
    files.MakeDirectory(library.ini.dir() + "qzr_plugins");
    std::string lines;
    for (const std::string& file : library.files) {
      const std::string name = file.substr(file.rfind('/') + 1);
      files.Copy(file, target + name, false);
      lines += '"';
      lines += name;
      lines += "\" Bench - Setting\r\n";
    }
    files.AppendTo(target + "descript.ion", lines);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    bench.SetIterationTime(seconds);
    total += seconds;
  }
  copyFloorSeconds[static_cast<int>(bench.range(0))] = total / static_cast<double>(bench.iterations());
}

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
  for (auto entry = std::optional<ListedEntry>(FindFirstEntry()); entry; entry = FindNextEntry())
    remoteNames.push_back(kPathDelim + entry->Name);
  CloseSearch();

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
    if (lookupSeconds.count(count))
      std::printf("  lookups %7.3f ms total, %6.1f ns each  record %6.1f B + strings %6.1f B per tweak",
                  lookupSeconds[count] * 1e3, lookupSeconds[count] * 1e9 / count, bytesPerTweak[count],
                  stringBytesPerTweak[count]);
    std::printf("\n");
  }
}

}  // namespace
}  // namespace qzr

int main(int argc, char** argv) {
  using namespace qzr;
  const std::vector<int64_t> sizes = Sizes(argc, argv);
  for (int64_t n : sizes) {
    benchmark::RegisterBenchmark("FirstListing", BM_FirstListing)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("CopyFloor", BM_CopyFloor)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Lookups", BM_Lookups)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
