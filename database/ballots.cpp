#include "database/ballots.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "database/database_file.h"
#include "database/game_io.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {

std::string_view BallotFileName(int type, TBallotKind kind) {
  const bool full = kind == TBallotKind::full;
  switch (type) {
    case gtRussian:
    case gtBrazilian:
    case gtPool: return full ? "fly.abd" : "2move.abd";
    case gtEnglish: return full ? "3move.abd" : "2move.abd";
    case gtItalian: return full ? "italianB.abd" : "italianA.abd";
    case gtCzech:
    case gtSpanish: return full ? "" : "2move.abd";
    case gtThai: return full ? "" : "2thai.abd";
    default: return "";
  }
}

bool BallotServes(const TGame& ballot, int type) {
  if (!IsValidGameType(type) || !IsValidGameType(ballot.Header.TypeOfGame) || GameTypes[type].SquareCount != GameTypes[ballot.Header.TypeOfGame].SquareCount) return false;
  if (type == gtBrazilian && ballot.Tournament.find(NotInBrazilianTable) != std::string::npos) return false;
  TBoard board;
  TDColor side;
  if (!PositionAt(ballot, 0, board, side)) return false;
  for (int slot = FirstChild(ballot, 0); slot > 0; slot = FirstChild(ballot, slot)) {
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, side, list, type, count);
    const TMove& move = ballot.Moves[slot];
    const auto legal = std::find_if(list.begin(), list.begin() + count,
                                    [&](const TMove& m) { return SameMovePath(m, move); });
    if (legal == list.begin() + count) return false;
    ApplyMove(*legal, board, type);
    side = Opponent(side);
  }
  return true;
}

bool DrawBallot(const std::string& folder, int type, TBallotKind kind, std::mt19937& rng, TGame& game,
                std::string* message) {
  if (message) message->clear();
  if (!IsValidGameType(type) || GameTypes[type].SquareCount != 32) return false;
  const auto notFound = [message] {
    if (message) *message = BallotNotFoundText;
    return false;
  };
  const std::string_view file = BallotFileName(type, kind);
  if (file.empty()) return notFound();
  TKestrelDB db;
  // Ballots are only read; an installed program keeps them where nobody writes.
  if (!OpenDatabase(folder + std::string(file), db, true, TDBAccess::readOnly).ok() || db.DBSize < 1)
    return notFound();
  // Uniform among the games that serve the type: a random order, the first
  // one that does.
  std::vector<int32_t> order(db.DBSize);
  std::iota(order.begin(), order.end(), 1);
  std::shuffle(order.begin(), order.end(), rng);
  TGame drawn;
  for (const int32_t n : order) {
    if (!ReadDBGame(db, n, false, drawn) || drawn.Header.LastMove < 0) continue;
    if (!BallotServes(drawn, type)) continue;
    drawn.DBGameNo = 0;
    drawn.DBName.clear();
    GoToLineEnd(drawn, 0);
    drawn.Header.TypeOfGame = static_cast<uint8_t>(type);
    game = std::move(drawn);
    return true;
  }
  return notFound();
}

}  // namespace kestrel
