// ini_bench: TIniFile against inih and SimpleIni.
//
// Texts/...: load the launcher's Texts.Ini and read every text of section
//   "Launcher" one by one, as the launcher does at start-up. The heap keeps
//   its usual settings; memory this small is reused from one load to the next.
// Big/cold/..., Big/warm/...: load a 50 MB file (200 sections of 2500 keys)
//   and nothing else, beside a baseline that only reads the file and finds
//   its lines with memchr. Freeing what a load built is not timed. Cold and
//   warm are the two heap regimes of UseHeap.
//
// The inputs are written at start-up into a temporary folder and removed at
// the end. After the runs a summary gives the medians and the ratios that the
// targets are about (see docs/PERFORMANCE.md).
#include "IniBenchFiles.h"
#include "VK9_System.h"

#include <INIReader.h>
#include <SimpleIni.h>
#include <benchmark/benchmark.h>
#include <ini.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

using inibench::TextsKeys;

struct Inputs {
  std::string textsNative, textsEngine;
  std::string bigNative, bigEngine;
};
Inputs g_inputs;

// Where the memory of a load comes from. Cold: pages the process has not
// touched, as for the one load at start-up; everything freed is given back to
// the system before the next load. Warm: the heap keeps what was freed and the
// next load reuses it, so only the loader's own work is timed. Page faults are
// costly on virtual machines, so the two can differ a lot.
enum class Heap { kCold, kWarm };

void UseHeap(Heap heap) {
#ifdef __GLIBC__
  if (heap == Heap::kWarm) {
    mallopt(M_MMAP_MAX, 0);         // large blocks from the heap too
    mallopt(M_TRIM_THRESHOLD, -1);  // never give memory back
  } else {
    mallopt(M_MMAP_MAX, 65536);
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    malloc_trim(0);
  }
#else
  (void)heap;
#endif
}

// ---- Texts.Ini: load and read every text -----------------------------------

void TextsTIniFileReadString(benchmark::State& state) {
  const std::vector<std::string>& keys = TextsKeys();
  UseHeap(Heap::kCold);
  for (auto _ : state) {
    TIniFile ini;
    ini.Load(g_inputs.textsEngine);
    ini.SelectSection("Launcher");
    for (const std::string& key : keys) {
      std::string value = ini.ReadString(key, -1);
      benchmark::DoNotOptimize(value);
    }
  }
}

void TextsTIniFileReadWideString(benchmark::State& state) {
  const std::vector<std::string>& keys = TextsKeys();
  UseHeap(Heap::kCold);
  for (auto _ : state) {
    TIniFile ini;
    ini.Load(g_inputs.textsEngine);
    ini.SelectSection("Launcher");
    for (const std::string& key : keys) {
      std::u16string value = ini.ReadWideString(key, -1);
      benchmark::DoNotOptimize(value);
    }
  }
}

// The best use of plain inih: the handler keeps the values of the wanted keys
// only, found through a table the launcher would build once.
struct TextsSlots {
  const std::unordered_map<std::string_view, std::size_t>* index;
  std::vector<std::string> values;
};

int KeepLauncherTexts(void* user, const char* section, const char* name, const char* value) {
  auto* slots = static_cast<TextsSlots*>(user);
  if (std::strcmp(section, "Launcher") != 0) return 1;
  const auto found = slots->index->find(name);
  if (found != slots->index->end()) slots->values[found->second] = value;
  return 1;
}

const std::unordered_map<std::string_view, std::size_t>& TextsIndex() {
  static const auto index = [] {
    std::unordered_map<std::string_view, std::size_t> map;
    const std::vector<std::string>& keys = TextsKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) map.emplace(keys[i], i);
    return map;
  }();
  return index;
}

TextsSlots ParseTextsWithInih() {
  TextsSlots slots{&TextsIndex(), std::vector<std::string>(TextsKeys().size())};
  ini_parse(g_inputs.textsNative.c_str(), KeepLauncherTexts, &slots);
  return slots;
}

void TextsInihParse(benchmark::State& state) {
  const std::vector<std::string>& keys = TextsKeys();
  const auto& index = TextsIndex();
  UseHeap(Heap::kCold);
  for (auto _ : state) {
    TextsSlots slots = ParseTextsWithInih();
    for (const std::string& key : keys) {
      const std::string& value = slots.values[index.find(key)->second];
      benchmark::DoNotOptimize(value);
    }
  }
}

void TextsInihReader(benchmark::State& state) {
  const std::vector<std::string>& keys = TextsKeys();
  UseHeap(Heap::kCold);
  for (auto _ : state) {
    INIReader reader(g_inputs.textsNative);
    for (const std::string& key : keys) {
      std::string value = reader.Get("Launcher", key, "");
      benchmark::DoNotOptimize(value);
    }
  }
}

void TextsSimpleIni(benchmark::State& state) {
  const std::vector<std::string>& keys = TextsKeys();
  UseHeap(Heap::kCold);
  for (auto _ : state) {
    CSimpleIniA ini;
    ini.SetUnicode();
    ini.LoadFile(g_inputs.textsNative.c_str());
    for (const std::string& key : keys) {
      const char* value = ini.GetValue("Launcher", key.c_str(), "");
      benchmark::DoNotOptimize(value);
    }
  }
}

// ---- The 50 MB file: load only ------------------------------------------------

// Runs `load` timed and frees what it returns untimed.
template <class Load>
void LoadOnly(benchmark::State& state, Heap heap, Load load) {
  UseHeap(heap);
  // One load untimed, so that the first timed one finds the heap warm too.
  if (heap == Heap::kWarm) load().reset();
  for (auto _ : state) {
    auto loaded = load();
    benchmark::DoNotOptimize(loaded.get());
    benchmark::ClobberMemory();
    state.PauseTiming();
    loaded.reset();
#ifdef __GLIBC__
    if (heap == Heap::kCold) malloc_trim(0);
#endif
    state.ResumeTiming();
  }
}

struct FileBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
};

// Reads the whole file into a fresh buffer, as TIniFile::Load does.
FileBytes ReadWholeFile(const std::string& nativePath) {
  FileBytes bytes;
  const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0) {
    const auto capacity = static_cast<std::size_t>(st.st_size);
    bytes.data.reset(new char[capacity + 1]);
    while (bytes.size < capacity) {
      const ssize_t n = ::read(fd, bytes.data.get() + bytes.size, capacity - bytes.size);
      if (n <= 0) break;
      bytes.size += static_cast<std::size_t>(n);
    }
  }
  ::close(fd);
  return bytes;
}

struct SplitFile {
  FileBytes bytes;
  std::size_t lines = 0;
  std::uint64_t sum = 0;
};

// Finds every line with memchr and touches it (sums its length and first
// byte) so that the split is really done.
void SplitLines(SplitFile& file) {
  const char* p = file.bytes.data.get();
  const char* const end = p + file.bytes.size;
  while (p < end) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* const last = lf ? lf : end;
    file.sum += static_cast<std::uint64_t>(last - p) + static_cast<unsigned char>(*p);
    ++file.lines;
    p = lf ? lf + 1 : end;
  }
}

std::unique_ptr<SplitFile> ReadAndSplit(const std::string& nativePath) {
  auto file = std::make_unique<SplitFile>();
  file->bytes = ReadWholeFile(nativePath);
  SplitLines(*file);
  return file;
}

void BigMemchrBaseline(benchmark::State& state, Heap heap) {
  LoadOnly(state, heap, [] { return ReadAndSplit(g_inputs.bigNative); });
}

void BigTIniFileLoad(benchmark::State& state, Heap heap) {
  LoadOnly(state, heap, [] {
    auto ini = std::make_unique<TIniFile>();
    ini->Load(g_inputs.bigEngine);
    return ini;
  });
}

// The parse alone, from bytes already in memory.
void BigTIniFileLoadFromBytes(benchmark::State& state, Heap heap) {
  const FileBytes bytes = ReadWholeFile(g_inputs.bigNative);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data.get());
  LoadOnly(state, heap, [&] {
    auto ini = std::make_unique<TIniFile>();
    ini->LoadFromBytes(data, bytes.size);
    return ini;
  });
}

int IgnoreEntry(void*, const char*, const char*, const char*) { return 1; }

void BigInihParse(benchmark::State& state, Heap heap) {
  LoadOnly(state, heap, [] {
    return std::make_unique<int>(ini_parse(g_inputs.bigNative.c_str(), IgnoreEntry, nullptr));
  });
}

void BigInihReader(benchmark::State& state, Heap heap) {
  LoadOnly(state, heap, [] { return std::make_unique<INIReader>(g_inputs.bigNative); });
}

void BigSimpleIni(benchmark::State& state, Heap heap) {
  LoadOnly(state, heap, [] {
    auto ini = std::make_unique<CSimpleIniA>();
    ini->SetUnicode();
    ini->LoadFile(g_inputs.bigNative.c_str());
    return ini;
  });
}

// ---- Checks that every contender reads the same, before anything is timed ---

bool CheckTexts() {
  TIniFile ini;
  ini.Load(g_inputs.textsEngine);
  if (!ini.SelectSection("Launcher")) {
    std::fprintf(stderr, "ini_bench: TIniFile finds no section Launcher\n");
    return false;
  }
  INIReader reader(g_inputs.textsNative);
  CSimpleIniA simple;
  simple.SetUnicode();
  if (reader.ParseError() != 0 || simple.LoadFile(g_inputs.textsNative.c_str()) != SI_OK) {
    std::fprintf(stderr, "ini_bench: inih or SimpleIni cannot load Texts.Ini\n");
    return false;
  }
  const TextsSlots slots = ParseTextsWithInih();
  const std::vector<std::string>& keys = TextsKeys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::string& key = keys[i];
    const std::string value = ini.ReadString(key, -1);
    const std::u16string wide = ini.ReadWideString(key, -1);
    if (value.empty() || wide.empty() || value != reader.Get("Launcher", key, "") || value != slots.values[i] ||
        value != simple.GetValue("Launcher", key.c_str(), "")) {
      std::fprintf(stderr, "ini_bench: the readers disagree on %s\n", key.c_str());
      return false;
    }
  }
  return true;
}

int CountEntry(void* user, const char*, const char*, const char*) {
  ++*static_cast<std::size_t*>(user);
  return 1;
}

bool CheckBig() {
  constexpr std::size_t kKeys = std::size_t{inibench::kBigSections} * inibench::kBigKeysPerSection;
  TIniFile ini;
  ini.Load(g_inputs.bigEngine);
  bool ok = ini.Sections.size() == inibench::kBigSections + 1;  // with the comment before the first header
  for (std::size_t s = 1; ok && s < ini.Sections.size(); ++s) {
    ok = ini.Sections[s].Keys.size() == static_cast<std::size_t>(inibench::kBigKeysPerSection);
  }
  std::size_t entries = 0;
  ok = ok && ini_parse(g_inputs.bigNative.c_str(), CountEntry, &entries) == 0 && entries == kKeys;
  ok = ok && ReadAndSplit(g_inputs.bigNative)->lines == kKeys + inibench::kBigSections + 1;
  // The last value, read by all three.
  if (ok) {
    const INIReader reader(g_inputs.bigNative);
    CSimpleIniA simple;
    simple.SetUnicode();
    char section[32], key[32];
    std::snprintf(section, sizeof section, "Section_%03d", inibench::kBigSections - 1);
    std::snprintf(key, sizeof key, "Key_%04d", inibench::kBigKeysPerSection - 1);
    ok = ini.SelectSection(section) && reader.ParseError() == 0 &&
         simple.LoadFile(g_inputs.bigNative.c_str()) == SI_OK &&
         simple.GetSectionSize(section) == inibench::kBigKeysPerSection;
    const std::string last = ok ? ini.ReadString(key, -1) : std::string();
    ok = ok && !last.empty() && last == reader.Get(section, key, "") && last == simple.GetValue(section, key, "");
  }
  if (!ok) std::fprintf(stderr, "ini_bench: the large file is not read as written\n");
  return ok;
}

// ---- Summary ---------------------------------------------------------------------

struct Times {
  double wall = 0;
  double cpu = 0;
};

// The console output, then the medians and the ratios the targets are about.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  // Coloured on a terminal only: a reporter given to the library ignores
  // --benchmark_color.
  SummaryReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
      const Times t{run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit};
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") medians_[name] = t;
      } else {
        samples_[name].push_back(t);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nSummary: medians of wall and CPU time; ratio = row / first row\n");
    if (const auto ref = Median("Texts/TIniFile_ReadString")) {
      std::printf("(a) Texts.Ini, load + %zu lookups          wall us    CPU us   ratio wall  CPU\n",
                  TextsKeys().size());
      Times slowest = *ref, fastestPeer{1e30, 1e30};
      for (const char* name : {"Texts/TIniFile_ReadString", "Texts/TIniFile_ReadWideString", "Texts/inih_ini_parse",
                               "Texts/inih_INIReader", "Texts/SimpleIni"}) {
        const auto t = Median(name);
        if (!t) continue;
        Row(name, *t, *ref, 1e6);
        if (std::strstr(name, "TIniFile")) {
          slowest = {std::max(slowest.wall, t->wall), std::max(slowest.cpu, t->cpu)};
        } else {
          fastestPeer = {std::min(fastestPeer.wall, t->wall), std::min(fastestPeer.cpu, t->cpu)};
        }
      }
      if (fastestPeer.wall < 1e30) {
        std::printf("    target, both TIniFile rows faster than every peer: wall %s, CPU %s\n",
                    slowest.wall < fastestPeer.wall ? "met" : "MISSED",
                    slowest.cpu < fastestPeer.cpu ? "met" : "MISSED");
      }
    }
    for (const char* heap : {"cold", "warm"}) {
      const std::string prefix = std::string("Big/") + heap + "/";
      const auto ref = Median(prefix + "memchr_baseline");
      const auto load = Median(prefix + "TIniFile_Load");
      if (!ref || !load) continue;
      std::printf("(b) 50 MB file, load only, %s memory       wall ms    CPU ms   ratio wall  CPU\n", heap);
      for (const char* name : {"memchr_baseline", "TIniFile_Load", "TIniFile_LoadFromBytes", "inih_ini_parse_noop",
                               "inih_INIReader", "SimpleIni_LoadFile"}) {
        if (const auto t = Median(prefix + name)) Row(prefix + name, *t, *ref, 1e3);
      }
      std::printf("    target, TIniFile_Load within 3x the baseline: wall %s, CPU %s\n",
                  load->wall <= 3 * ref->wall ? "met" : "MISSED", load->cpu <= 3 * ref->cpu ? "met" : "MISSED");
    }
    std::fflush(stdout);
  }

 private:
  static void Row(const std::string& name, Times t, Times ref, double scale) {
    std::printf("    %-38s %9.2f %9.2f %9.2f %6.2f\n", name.c_str(), t.wall * scale, t.cpu * scale, t.wall / ref.wall,
                t.cpu / ref.cpu);
  }

  // The reported median, else the median of the runs seen.
  std::optional<Times> Median(const std::string& name) const {
    if (const auto found = medians_.find(name); found != medians_.end()) return found->second;
    const auto found = samples_.find(name);
    if (found == samples_.end() || found->second.empty()) return std::nullopt;
    const auto median = [](std::vector<double> v) {
      std::sort(v.begin(), v.end());
      const std::size_t n = v.size();
      return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    };
    std::vector<double> wall, cpu;
    for (const Times& t : found->second) {
      wall.push_back(t.wall);
      cpu.push_back(t.cpu);
    }
    return Times{median(wall), median(cpu)};
  }

  std::map<std::string, Times> medians_;
  std::map<std::string, std::vector<Times>> samples_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  inibench::TempFolder folder;
  g_inputs.textsNative = folder.Write("Texts.Ini", inibench::TextsIniContent());
  g_inputs.textsEngine = inibench::EnginePath(g_inputs.textsNative);
  g_inputs.bigNative = folder.Write("Big.ini", inibench::BigIniContent());
  g_inputs.bigEngine = inibench::EnginePath(g_inputs.bigNative);
  if (!CheckTexts() || !CheckBig()) return 1;

  using benchmark::RegisterBenchmark;
  RegisterBenchmark("Texts/TIniFile_ReadString", TextsTIniFileReadString)->Unit(benchmark::kMicrosecond);
  RegisterBenchmark("Texts/TIniFile_ReadWideString", TextsTIniFileReadWideString)->Unit(benchmark::kMicrosecond);
  RegisterBenchmark("Texts/inih_ini_parse", TextsInihParse)->Unit(benchmark::kMicrosecond);
  RegisterBenchmark("Texts/inih_INIReader", TextsInihReader)->Unit(benchmark::kMicrosecond);
  RegisterBenchmark("Texts/SimpleIni", TextsSimpleIni)->Unit(benchmark::kMicrosecond);
  for (const Heap heap : {Heap::kCold, Heap::kWarm}) {
    const std::string prefix = heap == Heap::kCold ? "Big/cold/" : "Big/warm/";
    const auto add = [&](const char* name, void (*fn)(benchmark::State&, Heap)) {
      RegisterBenchmark((prefix + name).c_str(), fn, heap)->Unit(benchmark::kMillisecond);
    };
    add("memchr_baseline", BigMemchrBaseline);
    add("TIniFile_Load", BigTIniFileLoad);
    add("TIniFile_LoadFromBytes", BigTIniFileLoadFromBytes);
    add("inih_ini_parse_noop", BigInihParse);
    add("inih_INIReader", BigInihReader);
    add("SimpleIni_LoadFile", BigSimpleIni);
  }

  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
