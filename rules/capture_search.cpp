// Depth-first search of capture sequences on the working board, with the
// capture-choice rules applied as complete sequences are recorded.
//
// A piece taken during a sequence stays on its cell with the mover's sign
// until the move ends (unless taken pieces leave at once), so it can be
// neither taken again, nor jumped, nor landed on.
#include <algorithm>
#include <cstdlib>

#include "rules/mailbox_generator.h"

namespace kestrel {

bool MailboxGenerator::CanCapture(int cell) const {
  const TGameTypeRec& r = rules_.rec;
  if (board_[cell] == ownMan_) {
    for (int i = 0; i <= r.ManCaptureDirs; ++i) {
      const int d = dirs_[i];
      const int8_t victim = board_[cell + d];
      if (IsOpponent(victim) && board_[cell + 2 * d] == Empty && (r.MenTakeKings || victim != theirKing_))
        return true;
    }
    return false;
  }
  for (int i = 0; i <= r.KingDirs; ++i) {
    const int d = dirs_[i];
    int t = cell + d;
    if (!r.ShortKings)
      while (board_[t] == Empty) t += d;
    if (IsOpponent(board_[t]) && board_[t + d] == Empty) return true;
  }
  return false;
}

// The sequence goes on only while the move record has room for another step.
bool MailboxGenerator::CanContinue(int cell, int depth) const {
  return depth < MaxCaptured && CanCapture(cell);
}

void MailboxGenerator::ExtendCapture(int cell, int depth, int kings, uint32_t value) {
  if (board_[cell] == ownMan_)
    ExtendManCapture(cell, depth, kings, value);
  else
    ExtendKingCapture(cell, depth, kings, value);
}

void MailboxGenerator::ExtendManCapture(int cell, int depth, int kings, uint32_t value) {
  const TGameTypeRec& r = rules_.rec;
  const int8_t f = board_[cell];
  for (int i = 0; i <= r.ManCaptureDirs; ++i) {
    const int d = dirs_[i];
    const int victim = cell + d;
    const int landing = cell + 2 * d;
    const int8_t g = board_[victim];
    if (!IsOpponent(g) || board_[landing] != Empty || (!r.MenTakeKings && g == theirKing_)) continue;

    board_[cell] = Empty;
    board_[victim] = r.ImmediateRemoval ? Empty : static_cast<int8_t>(-g);
    board_[landing] = f;
    const int newKings = kings + (g == theirKing_ ? 1 : 0);
    if (r.PromoteInCapture) {
      if (f == WhiteMan && landing > r.WhitePromoteAbove) board_[landing] = WhiteKing;
      if (f == BlackMan && landing < r.BlackPromoteBelow) board_[landing] = BlackKing;
    }
    current_.mv[2 * depth - 1] = static_cast<uint8_t>(victim);
    current_.mv[2 * depth] = static_cast<uint8_t>(landing);
    if (CanContinue(landing, depth))
      ExtendCapture(landing, depth + 1, newKings, 2 * value + static_cast<uint32_t>(std::abs(board_[victim])));
    else
      RecordCapture(depth, newKings, value);

    board_[cell] = f;
    board_[victim] = g;
    board_[landing] = Empty;
  }
}

void MailboxGenerator::ExtendKingCapture(int cell, int depth, int kings, uint32_t value) {
  const TGameTypeRec& r = rules_.rec;
  const int8_t f = board_[cell];
  const bool oneLanding = r.ShortKings || r.ImmediateRemoval;
  for (int i = 0; i <= r.KingDirs; ++i) {
    const int d = dirs_[i];
    const uint32_t noted = nextSerial_;
    bool first = true;

    int victim = cell + d;
    if (!r.ShortKings)
      while (board_[victim] == Empty) victim += d;
    const int8_t g = board_[victim];
    if (!IsOpponent(g)) continue;

    for (int landing = victim + d; board_[landing] == Empty; landing += d) {
      board_[cell] = Empty;
      board_[victim] = r.ImmediateRemoval ? Empty : static_cast<int8_t>(-g);
      board_[landing] = f;
      const int newKings = kings + (g == theirKing_ ? 1 : 0);
      current_.mv[2 * depth - 1] = static_cast<uint8_t>(victim);
      current_.mv[2 * depth] = static_cast<uint8_t>(landing);
      if (CanContinue(landing, depth)) {
        if (first) {
          // The capture goes on from here, so the landings tried before in
          // this direction, where it stopped, are not allowed.
          first = false;
          while (count_ > 0 && serial_[count_ - 1] >= noted) --count_;
        }
        ExtendCapture(landing, depth + 1, newKings, 2 * value + static_cast<uint32_t>(std::abs(board_[victim])));
      } else if (first) {
        RecordCapture(depth, newKings, value);
      }
      board_[cell] = f;
      board_[victim] = g;
      board_[landing] = Empty;
      if (oneLanding) break;
    }
  }
}

void MailboxGenerator::RecordCapture(int depth, int kings, uint32_t value) {
  const TGameTypeRec& r = rules_.rec;
  if (r.MajorityCapture) {
    if (depth < bestLen_) return;
    if (depth > bestLen_) {
      ClearList();
    } else {
      // With as many pieces, a king's capture goes before a man's.
      const bool kingFirst = rules_.type == gtItalian || rules_.type == gtFrisian;
      if (kingFirst && phase_ == 1 && kingBest_ == depth) return;
      bool cleared = false;
      if (r.CountKings) {
        if (kings < bestKings_) return;
        if (kings > bestKings_) {
          ClearList();
          cleared = true;
        }
      }
      // The order value only decides between captures taking as many kings:
      // once more kings emptied the list, the new capture is the best.
      if (rules_.type == gtItalian && !cleared) {
        if (value < bestValue_) return;
        if (value > bestValue_) ClearList();
      }
    }
  }
  bestLen_ = depth;
  bestKings_ = kings;
  bestValue_ = value;
  current_.lt = static_cast<uint8_t>(depth);
  Append(current_);
}

void MailboxGenerator::ClearList() { count_ = 0; }

// Long captures of kings often reach one position by many routes (a route
// that crosses itself can run its loops in either order), more than the list
// holds. So a full list first gives up its repeated routes, keeping the
// first of each, and only a position with more distinct moves than the list
// holds loses the last ones found.
void MailboxGenerator::Append(const TMove& move) {
  if (count_ == MaxMoves) DropRepeatedRoutes();
  if (count_ < MaxMoves) {
    serial_[count_] = nextSerial_++;
    (*list_)[count_++] = move;
  }
}

// Two captures lead to the same position when they start and end on the
// same cells and take the same pieces, in whatever order.
void MailboxGenerator::DropRepeatedRoutes() {
  struct TKey {
    int from, to, lt;
    std::array<uint8_t, MaxCaptured> taken;
    bool operator==(const TKey&) const = default;
  };
  std::array<TKey, MaxMoves> keys;
  int kept = 0;
  for (int i = 0; i < count_; ++i) {
    const TMove& m = (*list_)[i];
    TKey key{m.From(), m.To(), m.lt, {}};
    for (int k = 1; k <= m.lt && k <= MaxCaptured; ++k) key.taken[k - 1] = m.mv[2 * k - 1];
    std::sort(key.taken.begin(), key.taken.begin() + std::min<int>(m.lt, MaxCaptured));
    if (std::find(keys.begin(), keys.begin() + kept, key) != keys.begin() + kept) continue;
    keys[kept] = key;
    serial_[kept] = serial_[i];
    (*list_)[kept++] = m;
  }
  count_ = kept;
}

}  // namespace kestrel
