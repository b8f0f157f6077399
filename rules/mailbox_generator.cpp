#include "rules/mailbox_generator.h"

namespace kestrel {
namespace {

// Frisian steps: two ranks straight up or down, and the next square on the
// same rank. They exist on the 10 x 10 mailbox only.
constexpr int StepRankUp = 13;
constexpr int StepSameRank = 1;

}  // namespace

MailboxGenerator::MailboxGenerator(const TRuleSet& rules) : rules_(rules) {
  // The orthogonal steps would leave the mailbox on other boards.
  if (rules_.rec.SquareCount != 50) {
    if (rules_.rec.ManCaptureDirs > 3) rules_.rec.ManCaptureDirs = 3;
    if (rules_.rec.KingDirs > 3) rules_.rec.KingDirs = 3;
  }
}

void MailboxGenerator::SetUp(const TNewBoard& board, TDColor side) {
  board_ = board;
  side_ = side;
  const int s1 = rules_.rec.Step1;
  const int s2 = rules_.rec.Step2;
  if (side == TDColor::white) {
    dirs_ = {s1, s2, -s1, -s2, StepRankUp, -StepRankUp, StepSameRank, -StepSameRank};
    ownMan_ = WhiteMan;
    ownKing_ = WhiteKing;
    theirMan_ = BlackMan;
    theirKing_ = BlackKing;
  } else {
    dirs_ = {-s1, -s2, s1, s2, StepRankUp, -StepRankUp, StepSameRank, -StepSameRank};
    ownMan_ = BlackMan;
    ownKing_ = BlackKing;
    theirMan_ = WhiteMan;
    theirKing_ = WhiteKing;
  }
  current_ = TMove{};
  count_ = 0;
  nextSerial_ = 0;
  bestLen_ = 0;
  bestKings_ = 0;
  bestValue_ = 0;
  phase_ = 0;
  kingBest_ = 0;
  pieces_ = 0;
}

int MailboxGenerator::Generate(const TNewBoard& board, TDColor side, TMoveList& list) {
  SetUp(board, side);
  list_ = &list;
  phase_ = 0;
  SearchCaptures(ownKing_);
  if (count_ > 0 && rules_.rec.KingCapturesFirst) return count_;
  phase_ = 1;
  kingBest_ = bestLen_;
  SearchCaptures(ownMan_);
  if (count_ > 0) return count_;  // capturing is compulsory
  GeneratePlainMoves();
  return count_;
}

void MailboxGenerator::SearchCaptures(int8_t pieceCode) {
  for (int cell = rules_.rec.FirstCell; cell <= rules_.rec.LastCell; ++cell) {
    if (board_[cell] != pieceCode) continue;
    ++pieces_;
    if (CanCapture(cell)) {
      current_.mv[0] = static_cast<uint8_t>(cell);
      ExtendCapture(cell, 1, 0, 0);
    }
  }
}

bool MailboxGenerator::FrisianKingBlocked(int cell) const {
  if (rules_.type != gtFrisian) return false;
  const int own = ColorIndex(side_);
  const auto nmcount = static_cast<uint8_t>(board_[NmCountWhiteCell + own]);
  return nmcount >= 3 && board_[NmPieceWhiteCell + own] == cell && pieces_ != 1;
}

void MailboxGenerator::GeneratePlainMoves() {
  TMove move;
  auto add = [&](int from, int to) {
    move.mv[0] = static_cast<uint8_t>(from);
    move.mv[1] = static_cast<uint8_t>(to);
    Append(move);
  };
  for (int cell = rules_.rec.FirstCell; cell <= rules_.rec.LastCell; ++cell) {
    const int8_t p = board_[cell];
    if (p == ownMan_) {
      for (int i = 0; i < 2; ++i)
        if (board_[cell + dirs_[i]] == Empty) add(cell, cell + dirs_[i]);
    } else if (p == ownKing_ && !FrisianKingBlocked(cell)) {
      for (int i = 0; i < 4; ++i) {
        const int d = dirs_[i];
        for (int t = cell + d; board_[t] == Empty; t += d) {
          add(cell, t);
          if (rules_.rec.ShortKings) break;
        }
      }
    }
  }
}

}  // namespace kestrel
