#include "app/match/match_openings.h"

#include <random>
#include <set>

#include "database/database_file.h"
#include "database/game_io.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// Closes the database whatever happens to the reading.
struct TDatabaseCloser {
  TKestrelDB& db;
  ~TDatabaseCloser() {
    try {
      CloseDatabase(db);
    } catch (...) {
      // Read only: nothing of ours is lost when the names file cannot be written.
    }
  }
};

}  // namespace

std::vector<TOpening> RandomOpenings(int gametype, int count, int plies, uint64_t seed) {
  std::vector<TOpening> openings;
  if (!IsValidGameType(gametype) || count <= 0) return openings;
  std::mt19937_64 rng(seed);
  std::set<std::vector<std::pair<int, int>>> seen;
  // Lines that end early (a side without moves) or repeat are drawn again,
  // a bounded number of times so that small move trees still finish.
  const int attempts = count * 20 + 100;
  for (int a = 0; a < attempts && static_cast<int>(openings.size()) < count; ++a) {
    TOpening o;
    o.board = InitialPosition(gametype);
    TBoard board = o.board;
    TDColor side = o.side;
    std::vector<std::pair<int, int>> key;
    bool complete = true;
    for (int p = 0; p < plies; ++p) {
      TMoveList list;
      uint8_t n = 0;
      GenerateMoveList(board, side, list, gametype, n);
      removedoublemoves(n, list, board, gametype);
      if (n == 0) {
        complete = false;
        break;
      }
      const TMove& m = list[std::uniform_int_distribution<int>(0, n - 1)(rng)];
      o.moves.push_back(m);
      key.emplace_back(m.From(), m.To());
      ApplyMove(m, board, gametype);
      side = Opponent(side);
    }
    if (!complete || !seen.insert(key).second) continue;
    openings.push_back(std::move(o));
  }
  return openings;
}

TOpening OpeningOfGame(const TGame& game) {
  TOpening o;
  PositionAt(game, 0, o.board, o.side);
  o.firstMoveNumber = game.Header.NumerationFrom / 2 + 1;
  for (int slot = FirstChild(game, 0); slot > 0; slot = FirstChild(game, slot)) o.moves.push_back(game.Moves[slot]);
  return o;
}

std::optional<std::vector<TOpening>> DatabaseOpenings(const std::string& path, std::string& error) {
  TKestrelDB db;
  const TOpenResult opened = OpenDatabase(path, db, false);
  if (!opened.ok()) {
    error = "cannot open " + path + (opened.message.empty() ? "" : ": " + opened.message);
    return std::nullopt;
  }
  TDatabaseCloser closer{db};
  std::vector<TOpening> openings;
  for (int32_t n = 1; n <= db.RecordCount(); ++n) {
    TGame game;
    if (!ReadDBGame(db, n, false, game)) continue;
    openings.push_back(OpeningOfGame(game));
  }
  if (openings.empty()) {
    error = path + " holds no readable game";
    return std::nullopt;
  }
  return openings;
}

std::filesystem::path BallotDatabasePath(const std::filesystem::path& programFolder, int gametype,
                                         const std::string& kind, std::string& error) {
  const bool full = kind == "full";
  if (!full && kind != "2move") {
    error = "ballots are 2move or full";
    return {};
  }
  const char* file = nullptr;
  switch (gametype) {
    case gtRussian:
    case gtBrazilian:
    case gtPool: file = full ? "fly.abd" : "2move.abd"; break;
    case gtEnglish: file = full ? "3move.abd" : "2move.abd"; break;
    case gtItalian: file = full ? "italianB.abd" : "italianA.abd"; break;
    case gtCzech:
    case gtSpanish: file = full ? nullptr : "2move.abd"; break;
    case gtThai: file = full ? nullptr : "2thai.abd"; break;
    default: break;
  }
  if (file == nullptr) {
    error = std::string(GameTypeNames[gametype]) + " has no " + kind + " ballots";
    return {};
  }
  return programFolder / "Ballots" / file;
}

}  // namespace kestrel
