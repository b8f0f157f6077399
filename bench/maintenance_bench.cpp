// Database maintenance on 100 000 games of random legal play (Russian, 30 to
// 90 plies, one game in ten a copy of an earlier one, dates and names
// spread): "Match games" with "Fast", the full clean-up, sorting by date
// (list only, then with "Save to database") and building an opening book
// with at most 20 moves per game.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "database/database_file.h"
#include "database/game_io.h"
#include "database/maintenance/book_builder.h"
#include "database/maintenance/duplicates.h"
#include "database/maintenance/full_cleanup.h"
#include "database/maintenance/game_sort.h"
#include "database/names_file.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

constexpr int GameCount = 100000;

std::filesystem::path Folder() {
  static const auto path = std::filesystem::temp_directory_path() / "kestrel-bench-maintenance";
  return path;
}

TGame RandomLegalGame(std::mt19937& rng) {
  TGame g;
  NewGame(g, gtRussian);
  TBoard b = InitialPosition(gtRussian);
  TDColor side = TDColor::white;
  const int plies = 30 + static_cast<int>(rng() % 61);
  int node = 0;
  for (int p = 0; p < plies; ++p) {
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(b, side, list, gtRussian, count);
    if (count == 0) break;
    // Openings repeat: the first plies pick among the first two moves.
    const TMove m = list[p < 8 ? rng() % std::min<int>(count, 2) : rng() % count];
    node = AddMove(g, node, m).slot;
    if (rng() % 20 == 0) g.Moves[node].comm = static_cast<uint16_t>(1 + rng() % 6);
    ApplyMove(m, b, gtRussian);
    side = Opponent(side);
  }
  g.WhiteName = "Player " + std::to_string(rng() % 3000);
  g.BlackName = "Player " + std::to_string(rng() % 3000);
  g.Tournament = "Event " + std::to_string(rng() % 2000);
  g.Site = "Site " + std::to_string(rng() % 300);
  g.Header.Result = static_cast<uint8_t>(rng() % 4);
  g.Header.Date = {static_cast<uint8_t>(rng() % 29), static_cast<uint8_t>(rng() % 13),
                   static_cast<uint16_t>(1950 + rng() % 75)};
  return g;
}

// The database, written once per run of the benchmark program.
std::string SourceDatabase() {
  static const std::string path = [] {
    std::filesystem::create_directories(Folder());
    const std::string p = (Folder() / "source.abd").string();
    TKestrelDB db;
    CreateDatabase(p, db);
    std::mt19937 rng(2026);
    std::vector<TGame> kept;
    for (int i = 0; i < GameCount; ++i) {
      TGame g = (i % 10 == 9 && !kept.empty()) ? kept[rng() % kept.size()] : RandomLegalGame(rng);
      if (kept.size() < 5000) kept.push_back(g);
      WriteDBGame(g, 0, db, false);
    }
    SaveDBNames(db);
    return p;
  }();
  return path;
}

// A fresh copy of the source for commands that change it.
std::string WorkingCopy() {
  const std::string base = (Folder() / "work").string();
  const std::string src = DatabaseBaseName(SourceDatabase());
  for (const char* ext : {".abd", ".abm", ".abn"})
    std::filesystem::copy_file(src + ext, base + ext, std::filesystem::copy_options::overwrite_existing);
  return base + ".abd";
}

void BM_MatchGamesFast(benchmark::State& state) {
  const std::string path = WorkingCopy();
  for (auto _ : state) {
    TKestrelDB db;
    OpenDatabase(path, db, false);
    TGameList list;
    const TMatchResult r = MatchGames(db, TMatchOptions{}, list, false);
    state.counters["duplicates"] = r.duplicates;
  }
}
BENCHMARK(BM_MatchGamesFast)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_FullCleanUp(benchmark::State& state) {
  const std::string path = WorkingCopy();
  for (auto _ : state) {
    TKestrelDB db;
    OpenDatabase(path, db, false);
    FullCleanUp(db, NoProgress());
    state.counters["games"] = db.DBSize;
  }
}
BENCHMARK(BM_FullCleanUp)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SortByDate(benchmark::State& state) {
  const std::string path = WorkingCopy();
  const bool save = state.range(0) != 0;
  for (auto _ : state) {
    TKestrelDB db;
    OpenDatabase(path, db, false);
    TGameList list;
    list.Reset(db.DBSize);
    SortGameList(db, list, {TSortKey::date});
    if (save) SaveSortOrder(db, list);
  }
}
BENCHMARK(BM_SortByDate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BuildTree20Moves(benchmark::State& state) {
  const std::string path = WorkingCopy();
  const std::string book = (Folder() / "bench.cbk").string();
  for (auto _ : state) {
    std::filesystem::remove(book);
    TKestrelDB db;
    OpenDatabase(path, db, false);
    TGameList list;
    list.Reset(db.DBSize);
    TBookBuildOptions o;
    o.maxMoves = 20;
    const TBookBuildReport r = BuildBookFromDatabase(db, list, book, o);
    state.counters["records"] = static_cast<double>(r.records);
  }
}
BENCHMARK(BM_BuildTree20Moves)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace kestrel
