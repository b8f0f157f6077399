#include "app/match/endgame_adjudicator.h"

#include <system_error>

#include "app/play/endgame_adjudication.h"
#include "engine/endgame/edb_tables.h"

namespace kestrel {

TAdjudicator EndgameAdjudicator(TEndgameCache& cache) {
  return [&cache](const TBoard& board, TDColor side, int gametype) {
    return EndgameResult(cache, board, side, gametype);
  };
}

bool HasEndgameTables(const std::filesystem::path& root, int gametype) {
  for (const bool mtw : {false, true}) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(TableFolder(root, gametype, mtw), ec), end; !ec && it != end;
         it.increment(ec))
      if (it->is_regular_file(ec)) return true;
  }
  return false;
}

}  // namespace kestrel
