// Game databases: 100 000 games of 80 plies, each with a few comments,
// glyphs and two short variations, written to a fresh database and read
// back. Reports games per second and the sizes of the three files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/database_file.h"
#include "database/game_io.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

constexpr int GameCount = 100000;
constexpr int Plies = 80;
constexpr int DistinctGames = 64;

std::string DatabasePath() {
  static const std::string path = (std::filesystem::temp_directory_path() / "kestrel-bench-db" / "bench.abd").string();
  return path;
}

TMove Move(int from, int to, int taken = 0) {
  TMove m;
  m.mv[0] = static_cast<uint8_t>(from);
  if (taken == 0) {
    m.mv[1] = static_cast<uint8_t>(to);
  } else {
    m.lt = 1;
    m.mv[1] = static_cast<uint8_t>(taken);
    m.mv[2] = static_cast<uint8_t>(to);
  }
  return m;
}

// Game k of the pool: an 80-ply main line (every fifth move a capture),
// three comments, two glyphs and two side lines of three moves.
TGame PoolGame(int k) {
  TGame game;
  const int type = k % 2 == 0 ? gtRussian : gtInternational;
  NewGame(game, type);
  const int squares = GameTypes[type].SquareCount;
  std::vector<int> line{0};
  for (int p = 0; p < Plies; ++p) {
    const int from = 1 + (p * 7 + k) % squares;
    const int to = 1 + (p * 7 + k + 4) % squares;
    line.push_back(AddMove(game, line.back(), Move(from, to, p % 5 == 4 ? 1 + (from + to) / 2 % squares : 0)).slot);
  }
  for (int v : {10, 40}) {
    int node = line[v];
    for (int i = 0; i < 3; ++i) node = AddMove(game, node, Move(1 + (v + i) % squares, 1 + (v + i + 5) % squares)).slot;
  }
  game.CommentsAft[line[12]] = "The critical moment of the opening.";
  game.CommentsBef[line[30]] = "Better was the exchange on the flank.";
  game.CommentsAft[line[Plies]] = "A draw was agreed.";
  game.Moves[line[20]].comm = 2;
  game.Moves[line[31]].comm = 0x35;
  game.Header.Result = static_cast<uint8_t>(k % 4);
  return game;
}

const std::vector<TGame>& Pool() {
  static const std::vector<TGame> pool = [] {
    std::vector<TGame> games;
    for (int k = 0; k < DistinctGames; ++k) games.push_back(PoolGame(k));
    return games;
  }();
  return pool;
}

// Writes every game with names drawn from 500 players, 50 tournaments and 20
// sites, as a bulk import does (the names file is written on closing).
void WriteAll() {
  std::filesystem::create_directories(std::filesystem::path(DatabasePath()).parent_path());
  TKestrelDB db;
  CreateDatabase(DatabasePath(), db);
  TGame game;
  for (int i = 0; i < GameCount; ++i) {
    game = Pool()[i % DistinctGames];
    game.WhiteName = "Player " + std::to_string(i % 500);
    game.BlackName = "Player " + std::to_string((i * 7 + 3) % 500);
    game.Tournament = "Tournament " + std::to_string(i % 50);
    game.Site = "Site " + std::to_string(i % 20);
    game.Header.Round = i % 11;
    WriteDBGame(game, 0, db, false);
  }
  CloseDatabase(db);
}

void ReportSizes(benchmark::State& state) {
  const std::string base = DatabaseBaseName(DatabasePath());
  state.counters["abd_bytes"] = static_cast<double>(std::filesystem::file_size(base + ".abd"));
  state.counters["abm_bytes"] = static_cast<double>(std::filesystem::file_size(base + ".abm"));
  state.counters["abn_bytes"] = static_cast<double>(std::filesystem::file_size(base + ".abn"));
}

void BM_DatabaseWrite(benchmark::State& state) {
  Pool();
  for (auto _ : state) WriteAll();
  state.counters["games_per_s"] =
      benchmark::Counter(static_cast<double>(GameCount) * state.iterations(), benchmark::Counter::kIsRate);
  ReportSizes(state);
}

void BM_DatabaseRead(benchmark::State& state) {
  if (!DatabaseFilesExist(DatabasePath())) WriteAll();
  TKestrelDB db;
  if (!OpenDatabase(DatabasePath(), db, false).ok()) {
    state.SkipWithError("cannot open the benchmark database");
    return;
  }
  TGame game;
  int64_t plies = 0;
  for (auto _ : state) {
    for (int32_t n = 1; n <= db.DBSize; ++n) {
      if (!ReadDBGame(db, n, false, game)) {
        state.SkipWithError("a game did not read back");
        return;
      }
      plies += game.Header.LastMove;
    }
  }
  benchmark::DoNotOptimize(plies);
  state.counters["games_per_s"] =
      benchmark::Counter(static_cast<double>(db.DBSize) * state.iterations(), benchmark::Counter::kIsRate);
  ReportSizes(state);
}

BENCHMARK(BM_DatabaseWrite)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_DatabaseRead)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace kestrel
