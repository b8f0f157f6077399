#include "formats/import_from_text.h"

#include <string>

#include "database/code_page.h"
#include "game/move_tree.h"
#include "game/navigation.h"

namespace kestrel {

TMoveTextResult ImportMovesFromText(TGame& game, std::string_view text) {
  std::string clean = ToAnsiText(WithoutBom(text));
  for (char& c : clean)
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  TMoveTextOptions options;
  options.readBallot = HighestUsedSlot(game) == 0;
  options.readNumeration = false;
  const int lastBefore = game.Header.LastMove;
  const auto startBefore = game.StartBoard;
  const std::string commentBefore = game.CommentsAft.empty() ? std::string() : game.CommentsAft[0];
  const TMoveTextResult result = ReadPdnMoveText(game, clean, options);
  if (result.moves > 0 || game.Header.LastMove != lastBefore || game.StartBoard != startBefore ||
      !result.complete || game.CommentsAft[0] != commentBefore)
    game.Modified = true;
  // The shown position follows a changed start position.
  if (!GoToMove(game, game.CurMovPos)) GoToMove(game, 0);
  return result;
}

}  // namespace kestrel
