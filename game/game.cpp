#include "game/game.h"

#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {

TGame::TGame() : Moves(1), CommentsBef(1), CommentsAft(1) {
  PackBoard(TBrd{}, StartBoard);
  Moves[0].free = false;
}

int GameTypeOf(const TGame& game) {
  return IsValidGameType(game.Header.TypeOfGame) ? game.Header.TypeOfGame : CurrentGameType;
}

std::string_view AddStatusText(TAddStatus status) {
  switch (status) {
    case TAddStatus::noFreePlace: return "Error: no free place";
    case TAddStatus::tooManyChildren: return "Error: this move already has too many continuations";
    case TAddStatus::badParent: return "Error: the move has no place in the game";
    case TAddStatus::badMove: return "Error: damaged move";
    default: return {};
  }
}

}  // namespace kestrel
