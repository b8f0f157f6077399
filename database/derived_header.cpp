#include "database/derived_header.h"

#include <algorithm>

#include "database/game_blob.h"
#include "game/child_index.h"
#include "game/move_tree.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

constexpr int MaxFewItems = 5;
constexpr std::size_t MaxFewCommentChars = 300;

uint8_t PositionBits(const TGame& game) {
  const int type = game.Header.TypeOfGame;
  if (IsStandardStart(game.StartBoard, type)) return 0;
  TBrd board;
  UnpackBoard(game.StartBoard, board);
  int white = 0, black = 0;
  for (int8_t cell : board.cells) {
    if (cell > 0) ++white;
    if (cell < 0) ++black;
  }
  const bool full = IsValidGameType(type) && white == black && white == MenPerSide(type);
  return full ? hfFullSetUp : hfSetUp;
}

uint8_t CommentBits(const TGame& game, int last) {
  int items = 0;
  std::size_t chars = 0;
  for (int i = 1; i <= last; ++i) {
    if (game.Moves[i].free) continue;
    if (game.Moves[i].comm != 0) ++items;
    for (const std::string* c : {&game.CommentsBef[i], &game.CommentsAft[i]})
      if (!c->empty()) {
        ++items;
        chars += c->size();
      }
  }
  if (items > MaxFewItems || chars > MaxFewCommentChars) return hfComments;
  return items > 0 ? hfFewComments : 0;
}

// Marks the main line and counts the moves off it.
uint8_t VariationBits(TGame& game, int last) {
  const TChildIndex index(game, last);
  int steps = 0;
  for (int node = index.First(0); node != 0 && steps <= last; node = index.First(node), ++steps)
    game.Moves[node].main = true;
  int side = 0;
  for (int i = 1; i <= last; ++i)
    if (!game.Moves[i].free && !game.Moves[i].main) ++side;
  if (side > MaxFewItems) return hfVariations;
  return side > 0 ? hfFewVariations : 0;
}

}  // namespace

void NormalizeShowFrom(TGame& game) {
  const int32_t s = game.Header.ShowFrom;
  if (s != 0 && (s < 0 || s > game.Header.LastMove || !game.IsNode(s))) game.Header.ShowFrom = 0;
}

void DeriveHeaderFields(TGame& game) {
  TGameHeader& h = game.Header;
  const int last = std::clamp<int32_t>(h.LastMove, 0, game.SlotCount() - 1);
  h.Crc = 0;
  const int plies = MainLineLength(game);
  h.GameLength = static_cast<uint16_t>(std::min((plies + 1) / 2, 255));
  h.Flags = static_cast<uint8_t>((h.Flags & hfDeleted) | PositionBits(game) | CommentBits(game, last) |
                                 VariationBits(game, last));
}

}  // namespace kestrel
