#include "app/panels/book_grid.h"

#include "game/opening_tree.h"
#include "rules/move_generator.h"

namespace kestrel {

const std::array<std::string_view, 7> BookSignMenuTexts = {"!!", "!", "!?", " ", "?!", "?", "??"};

TBookRowColor BookRowColor(const TOpenMove& entry) {
  switch (entry.col) {
    case BookWeak: return TBookRowColor::weak;
    case BookPlayable: return TBookRowColor::playable;
    case BookGood: return TBookRowColor::good;
    default: return TBookRowColor::notInBook;
  }
}

std::optional<TMove> BookRowMove(const TOpenMove& entry, const TBoard& board, TDColor side, int type) {
  TMoveList list;
  uint8_t count = 0;
  BookMoveList(board, side, type, list, count);
  if (entry.num < 1 || entry.num > count) return std::nullopt;
  return list[entry.num - 1];
}

namespace {

// The book keeps positions with the side to move turned to one colour.
std::optional<TPackedBoardNew> PositionAfterRow(const TOpenMove& entry, const TBoard& board, TDColor side,
                                                int type) {
  const auto move = BookRowMove(entry, board, side, type);
  if (!move) return std::nullopt;
  TBoard after = board;
  ApplyMove(*move, after, type);
  return BookNormalForm(after.b, Opponent(side), type);
}

}  // namespace

bool SetBookRowSign(TOpeningBook& book, const TOpenMove& entry, const TBoard& board, TDColor side, int type,
                    uint8_t sign) {
  if (sign < 1 || sign > BookSignMenuTexts.size() || !book.IsOpen()) return false;
  const auto position = PositionAfterRow(entry, board, side, type);
  return position && book.SetBookSign(*position, sign);
}

bool AddRowOnClick(TOpeningBook& book, const TOpenMove& entry, const TBoard& board, TDColor side, int type) {
  if (!book.IsOpen()) return false;
  const auto position = PositionAfterRow(entry, board, side, type);
  if (!position) return false;
  const auto known = book.Lookup(*position);
  if (known && known->sign != BookSignNone) return false;
  return book.SetBookSign(*position, BookSignNone);
}

}  // namespace kestrel
