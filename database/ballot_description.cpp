#include "database/ballot_description.h"

#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

constexpr int Men = 12;

std::string Name(int square) { return SquareText(square, gtRussian, 0); }

// The move of one side: its men on squares [homeFrom, homeTo], the square it
// may have moved to in [awayFrom, awayTo]. False when the side has not made
// exactly one man move or none.
bool SideText(const TBrd& board, int8_t man, int homeFrom, int homeTo, int awayFrom, int awayTo, std::string& text) {
  int count = 0;
  int empty = 0;
  for (int s = homeFrom; s <= homeTo; ++s) {
    if (board[s] == man)
      ++count;
    else
      empty = s;
  }
  if (count == Men) {
    text = "----";
    return true;
  }
  if (count != Men - 1) return false;
  for (int s = awayFrom; s <= awayTo; ++s)
    if (board[s] == man) {
      text = Name(empty) + ">" + Name(s);
      return true;
    }
  return false;
}

}  // namespace

std::string BallotDescription(const TBrd& board) {
  int white = 0, black = 0;
  for (int s = 1; s <= 32; ++s) {
    if (board[s] == WhiteMan) ++white;
    if (board[s] == BlackMan) ++black;
    if (board[s] == WhiteKing || board[s] == BlackKing) return {};
  }
  for (int s = 33; s <= MaxSquares; ++s)
    if (board[s] != Empty) return {};
  if (white != Men || black != Men) return {};
  std::string whiteText, blackText;
  if (!SideText(board, WhiteMan, 1, 12, 13, 28, whiteText)) return {};
  if (!SideText(board, BlackMan, 21, 32, 1, 20, blackText)) return {};
  return whiteText + " " + blackText;
}

}  // namespace kestrel
