// PDN import speed on the largest reference file: games read per second,
// parsing alone and into a database, and the peak memory of the process
// (resident set size). The file read ten times over shows that memory does
// not grow with the file. Skipped when the reference files are absent.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "database/database_file.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_import.h"
#include "formats/pdn_source.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

fs::path ReferenceFolder() {
  if (const char* shared = std::getenv("KESTREL_SHARED_DIR")) return fs::path(shared) / "reference" / "pdn";
  return fs::path(__FILE__).parent_path().parent_path().parent_path() / "shared" / "reference" / "pdn";
}

struct TSample {
  fs::path path;
  int type = gtRussian;
};

// The largest .pdn file, with the type its name gives.
TSample LargestFile() {
  TSample sample;
  std::error_code ec;
  uintmax_t best = 0;
  for (const auto& entry : fs::directory_iterator(ReferenceFolder(), ec)) {
    if (entry.path().extension() != ".pdn" || entry.file_size() <= best) continue;
    best = entry.file_size();
    sample.path = entry.path();
  }
  const std::string name = sample.path.filename().string();
  if (name.rfind("intl", 0) == 0) sample.type = gtInternational;
  if (name.rfind("english", 0) == 0) sample.type = gtEnglish;
  if (name.rfind("italian", 0) == 0) sample.type = gtItalian;
  return sample;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Report(benchmark::State& state, const TSample& sample, int games) {
  state.SetLabel(sample.path.filename().string());
  state.counters["games"] = games;
  state.counters["games/s"] = benchmark::Counter(static_cast<double>(games) * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
  state.counters["peak_rss_MB"] = PeakRssMb();
}

// Cutting the file into games and reading each into a game record.
void BM_PdnReadGames(benchmark::State& state) {
  const TSample sample = LargestFile();
  if (sample.path.empty()) return state.SkipWithError("no reference PDN files");
  std::string text;
  for (int i = 0; i < state.range(0); ++i) text += ReadAll(sample.path);
  int games = 0;
  for (auto _ : state) {
    std::istringstream in(text);
    TPdnSource source(in);
    TPdnRawGame raw;
    TGame game;
    games = 0;
    while (source.Next(raw)) {
      ReadPdnGame(raw, sample.type, game);
      ++games;
    }
    benchmark::DoNotOptimize(game.Header.LastMove);
  }
  Report(state, sample, games);
}
BENCHMARK(BM_PdnReadGames)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// "Import PDN": the file into a new database of three files.
void BM_PdnImportIntoDatabase(benchmark::State& state) {
  const TSample sample = LargestFile();
  if (sample.path.empty()) return state.SkipWithError("no reference PDN files");
  const fs::path dir = fs::temp_directory_path() / ("kestrel-pdn-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "games.pdn";
  {
    std::ofstream out(file, std::ios::binary);
    const std::string text = ReadAll(sample.path);
    for (int i = 0; i < state.range(0); ++i) out << text;
  }
  TPdnImportOptions options;
  options.defaultType = sample.type;
  TPdnImportSummary summary;
  for (auto _ : state) ImportPDNIntoNewDatabase(file.string(), (dir / "games.abd").string(), summary, options);
  Report(state, sample, summary.games);
  std::error_code ec;
  fs::remove_all(dir, ec);
}
BENCHMARK(BM_PdnImportIntoDatabase)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel
