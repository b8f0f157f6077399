// Database search on 100 000 games of legal moves: an 80-ply main line with
// three side lines, comments and glyphs each, Russian and International
// alternating. Reports games per second of a header search, of position
// searches and of a material search (the worst case: no piece count can end
// a line early), and the heap the scan holds at most, on a tenth of the
// database and on all of it.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "database/database_file.h"
#include "database/game_io.h"
#include "database/search/search_database.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/random_line.h"

namespace kestrel {
namespace {

constexpr int GameCount = 100000;
constexpr int Plies = 80;
constexpr int DistinctGames = 500;

std::string DatabasePath(int games) {
  return (std::filesystem::temp_directory_path() / "kestrel-bench-search" / ("games" + std::to_string(games) + ".abd"))
      .string();
}

TGame PoolGame(int k) {
  std::mt19937 rng(k);
  const int type = k % 2 == 0 ? gtRussian : gtInternational;
  TGame game;
  do {
    NewGame(game, type);
  } while (!testing::GrowLine(game, 0, Plies, rng));
  for (int v = 0; v < 3; ++v)
    testing::GrowLine(game, 1 + static_cast<int>(rng() % Plies), 4 + static_cast<int>(rng() % 5), rng);
  game.CommentsAft[12] = "The critical moment of the opening.";
  game.CommentsBef[30] = "Better was the exchange on the flank.";
  game.Moves[20].comm = 2;
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

const std::string& Database(int games) {
  static std::vector<std::pair<int, std::string>> made;
  for (const auto& m : made)
    if (m.first == games) return m.second;
  const std::string path = DatabasePath(games);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  TKestrelDB db;
  CreateDatabase(path, db);
  TGame game;
  for (int i = 0; i < games; ++i) {
    game = Pool()[i % DistinctGames];
    game.WhiteName = "Player " + std::to_string(i % 997);
    game.BlackName = "Player " + std::to_string((i * 7 + 3) % 997);
    game.Tournament = "Tournament " + std::to_string(i % 50);
    game.Header.Date.Year = static_cast<uint16_t>(1950 + i % 70);
    WriteDBGame(game, 0, db, false);
  }
  CloseDatabase(db);
  made.emplace_back(games, path);
  return made.back().second;
}

// The position of pool game `k` after `plies` plies of its main line.
void PositionOf(int k, int plies, TBrd& board, TDColor& side) {
  const TGame& g = Pool()[k];
  int slot = 0;
  for (int p = 0; p < plies; ++p) slot = FirstChild(g, slot);
  TBoard b;
  PositionAt(g, slot, b, side);
  board = b.b;
}

enum TKind { header, middlegame, opening, endgame, material };

void BM_DatabaseSearch(benchmark::State& state) {
  const auto kind = static_cast<TKind>(state.range(0));
  const int games = static_cast<int>(state.range(1));
  TKestrelDB db;
  if (!OpenDatabase(Database(games), db, false).ok()) {
    state.SkipWithError("cannot open the benchmark database");
    return;
  }
  TSearchInfo info;
  TSearchSwitches sw;
  TBrd board;
  TDColor side;
  switch (kind) {
    case header: info.name[0] = "player 12"; break;  // 11 names of 997
    case middlegame: PositionOf(8, 24, board, side), SetQuickSearch(info, sw, board, side, 32); break;
    case opening: PositionOf(8, 6, board, side), SetQuickSearch(info, sw, board, side, 32); break;
    case endgame: PositionOf(8, 70, board, side), SetQuickSearch(info, sw, board, side, 32); break;
    case material:
      sw.position = true;
      info.brdsearch.cells.fill(AnySquare);
      info.wk = true, info.wkmin = 1, info.wkmax = 99;
      info.tot = true, info.totmin = 0, info.totmax = 12;
      break;
  }
  const std::size_t base = mallinfo2().uordblks;
  std::size_t peak = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    const TSearchResult r = SearchDatabase(db, info, sw, [&](const TSearchProgress&) {
      peak = std::max(peak, mallinfo2().uordblks - std::min(base, mallinfo2().uordblks));
      return true;
    });
    found = r.found.size();
  }
  state.SetItemsProcessed(state.iterations() * db.DBSize);
  state.counters["found"] = static_cast<double>(found);
  state.counters["heap_kb"] = static_cast<double>(peak) / 1024;
}

// kind, games
BENCHMARK(BM_DatabaseSearch)
    ->ArgNames({"kind", "games"})
    ->ArgsProduct({{header, middlegame, opening, endgame, material}, {GameCount / 10, GameCount}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace kestrel
