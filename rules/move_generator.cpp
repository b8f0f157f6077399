#include "rules/move_generator.h"

#include "rules/game_types.h"
#include "rules/mailbox_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

using CellSquares = std::array<uint8_t, MailboxSize>;

// The square held by each cell of every type's board (0 off the board), the
// same numbers IndexToSquare counts out.
const CellSquares& CellToSquare(int type) {
  static const auto tables = [] {
    std::array<CellSquares, GameTypeCount + 1> t{};
    for (int type = 1; type <= GameTypeCount; ++type) {
      const TMailboxCells& cells = *GameTypes[type].MailboxCells;
      int square = 0;
      for (int cell = 0; cell < MailboxSize; ++cell)
        if (cells[cell] != 0) t[type][cell] = static_cast<uint8_t>(++square);
    }
    return t;
  }();
  return tables[type];
}

// File index (0 = a) of a square, for the ambiguity flag of algebraic names.
int FileOf(int square, int type) {
  const int perRank = BoardShape(type).squaresPerRank;
  const int rank = (square - 1) / perRank;
  return 2 * ((square - 1) % perRank) + rank % 2;
}

void SetFlags(TMoveList& list, int count, TDColor side, int type) {
  const bool algebraic = IsAlgebraicType(type);
  for (int i = 0; i < count; ++i) {
    TMove& m = list[i];
    int sameFrom = 0, sameTo = 0, sameFileTo = 0;
    for (int j = 0; j < count; ++j) {
      const TMove& o = list[j];
      if (o.From() == m.From()) ++sameFrom;
      if (o.To() == m.To()) {
        ++sameTo;
        if (algebraic && FileOf(o.From(), type) == FileOf(m.From(), type)) ++sameFileTo;
      }
    }
    m.flags = 0;
    if (sameFrom == 1) m.flags |= mfOnlyMoveOfPiece;
    if (sameTo == 1) m.flags |= mfUniqueTarget;
    if (sameFileTo > 1) m.flags |= mfAmbiguousFile;
  }
  if (side == TDColor::black && count == 1) list[0].flags |= mfHideExtraShort;
}

}  // namespace

void GenerateMoveList(const TBoard& board, TDColor side, TMoveList& list, int type, uint8_t& count) {
  count = 0;
  if (!IsValidGameType(type)) return;
  TNewBoard newboard;
  BoardToNewBoard(board, newboard, type);
  MailboxGenerator generator(RulesOf(type));
  const int n = generator.Generate(newboard, side, list);
  const CellSquares& squares = CellToSquare(type);
  for (int i = 0; i < n; ++i) {
    TMove& m = list[i];
    const int used = m.UsedBytes();
    for (int k = 0; k < used; ++k) m.mv[k] = squares[m.mv[k]];
  }
  SetFlags(list, n, side, type);
  count = static_cast<uint8_t>(n);
}

}  // namespace kestrel
