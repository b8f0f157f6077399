#include "game/opening_tree.h"

#include <utility>

#include "game/glyphs.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

// Weak or good by the book evaluation of the position after the move,
// seen by the side that answers it.
void ClassByEval(TOpenMove& e, int evalOfAnswerer) {
  if (evalOfAnswerer > 70) {
    e.move += " -";
    e.col = BookWeak;
  } else if (evalOfAnswerer > 25) {
    e.move += " <";
    e.col = BookWeak;
  } else if (evalOfAnswerer < -70) {
    e.move += " +";
    e.col = BookGood;
  } else if (evalOfAnswerer < -25) {
    e.move += " >";
    e.col = BookGood;
  }
}

bool Better(const TOpenMove& a, const TOpenMove& b) {
  if (a.col != b.col) return a.col > b.col;
  if (a.eval != b.eval) return a.eval > b.eval;
  if (a.sign != b.sign) return a.sign < b.sign;
  return a.freq + a.qual > b.freq + b.qual;
}

}  // namespace

int RoundHalfEven(int64_t num, int64_t den) {
  int64_t q = num / den;
  const int64_t r = num % den;
  if (2 * r > den || (2 * r == den && (q & 1) != 0)) ++q;
  return static_cast<int>(q);
}

void BookMoveList(const TBoard& board, TDColor side, int type, TMoveList& list, uint8_t& count) {
  count = 0;
  GenerateMoveList(board, side, list, type, count);
  removedoublemoves(count, list, board, type);
}

void BuildOpeningTree(TOpeningBook& book, const TBoard& board, TDColor side, int type, TOpenMoves& tree) {
  const bool open = book.IsOpen();
  tree.openposcomm.clear();
  if (open) {
    if (const auto own = book.Lookup(BookNormalForm(board.b, side, type)); own && own->comm > 0)
      tree.openposcomm = book.Comment(own->comm).value_or(MissingCommentText);
  }

  TMoveList list;
  uint8_t count = 0;
  BookMoveList(board, side, type, list, count);
  tree.Op_moves = count;
  int total = 0;
  for (int i = 1; i <= count; ++i) {
    TOpenMove& e = tree.openmoves[i];
    e = TOpenMove{};
    e.num = static_cast<uint8_t>(i);
    e.eb = 1;
    e.move = DisplayMoveText(list[i - 1], list, count, type);
    if (!open) continue;
    TBoard after = board;
    ApplyMove(list[i - 1], after, type);
    const auto rec = book.Lookup(BookNormalForm(after.b, Opponent(side), type));
    if (!rec) continue;
    e.col = BookPlayable;
    e.wh = rec->wh;
    e.bl = rec->bl;
    e.dr = rec->dr;
    e.sign = rec->sign;
    // Sign 0 is what a record gets when nobody annotated the move; it shows
    // no sign, like 4, rather than the "#" of its table entry.
    if (e.sign != 0) e.move += BookSignText(e.sign);
    const int ev = rec->eval == BookNoEval ? 0 : rec->eval;
    e.eval = static_cast<int16_t>(-ev);
    ClassByEval(e, ev);
    const int games = e.wh + e.bl + e.dr;
    e.qual = static_cast<uint8_t>(games == 0 ? 50 : RoundHalfEven(int64_t{2 * e.bl + e.dr} * 50, games));
    if (games > 0)
      e.stat = "+" + std::to_string(e.bl) + "-" + std::to_string(e.wh) + "=" + std::to_string(e.dr);
    total += games;
  }

  for (int i = 1; i <= count; ++i) {
    TOpenMove& e = tree.openmoves[i];
    const int games = e.wh + e.bl + e.dr;
    e.freq = static_cast<uint8_t>(total == 0 ? 0 : RoundHalfEven(int64_t{games} * 100, total));
    if (e.col == BookPlayable) {
      if (e.sign >= 1 && e.sign <= 3)
        e.col = BookGood;
      else if (e.sign > BookSignNone)
        e.col = BookWeak;
      else if ((e.qual > 50 && e.freq >= 20) || (e.qual >= 70 && e.freq >= 10))
        e.col = BookGood;
      else if (e.qual < 33)
        e.col = BookWeak;
    }
    if (e.sign == 0) e.sign = BookSignNone;
  }

  // Selection sort: the best remaining entry, the earliest on ties, is
  // swapped into each place in turn.
  for (int place = 1; place < count; ++place) {
    int best = place;
    for (int j = place + 1; j <= count; ++j)
      if (Better(tree.openmoves[j], tree.openmoves[best])) best = j;
    if (best != place) std::swap(tree.openmoves[place], tree.openmoves[best]);
  }
  if (!open && count > 0) tree.openmoves[1].stat = NoBookText;
}

int BookCandidateCount(const TOpenMoves& tree, int level) {
  const int n = tree.Op_moves;
  if (n == 0) return 0;
  const uint8_t first = tree.openmoves[1].col;
  switch (level) {
    case BookLevelBest:
      return first == BookPlayable || first == BookGood ? 1 : 0;
    case BookLevelGood: {
      int k = 0;
      while (k < n && tree.openmoves[k + 1].col == BookGood) ++k;
      if (k == 0 && first == BookPlayable) k = 1;
      return k;
    }
    case BookLevelNormal: {
      int k = 0;
      while (k < n && (tree.openmoves[k + 1].col == BookPlayable || tree.openmoves[k + 1].col == BookGood)) ++k;
      return k;
    }
    default:
      return 0;
  }
}

int ChooseBookMove(const TOpenMoves& tree, int level, std::mt19937& random) {
  const int k = BookCandidateCount(tree, level);
  if (k <= 0) return 0;
  std::uniform_int_distribution<int> pick(0, k - 1);
  return tree.openmoves[1 + pick(random)].num;
}

}  // namespace kestrel
