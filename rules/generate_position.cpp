#include "rules/generate_position.h"

namespace kestrel {

bool GeneratePosition(int whiteMen, int blackMen, int whiteKings, int blackKings, TBrd& board, std::mt19937& rng,
                      int squareCount) {
  board = TBrd{};
  if (whiteMen < 0 || blackMen < 0 || whiteKings < 0 || blackKings < 0) return false;
  if (squareCount < 1 || squareCount > MaxSquares) return false;
  if (int64_t{whiteMen} + blackMen + whiteKings + blackKings > squareCount) return false;
  std::uniform_int_distribution<int> square(1, squareCount);
  const auto place = [&](int count, int8_t piece) {
    for (int i = 0; i < count; ++i) {
      int s = square(rng);
      while (board[s] != Empty) s = square(rng);
      board[s] = piece;
    }
  };
  place(whiteMen, WhiteMan);
  place(blackMen, BlackMan);
  place(whiteKings, WhiteKing);
  place(blackKings, BlackKing);
  return true;
}

}  // namespace kestrel
