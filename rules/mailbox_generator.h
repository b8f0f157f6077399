// The inner move generator: legal moves on the mailbox board, in cell numbers.
// All capture-search state lives in the object and belongs to one generation
// at a time; separate objects may run on separate threads.
#pragma once

#include <array>
#include <cstdint>

#include "rules/board.h"
#include "rules/move.h"
#include "rules/rule_set.h"

namespace kestrel {

class MailboxGenerator {
 public:
  explicit MailboxGenerator(const TRuleSet& rules);

  // Every legal move of `side` in `board` (cell numbers, flags 0). Returns
  // the count; at most MaxMoves moves and MaxCaptured pieces a capture.
  int Generate(const TNewBoard& board, TDColor side, TMoveList& list);

  const TRuleSet& Rules() const { return rules_; }

 private:
  void SetUp(const TNewBoard& board, TDColor side);
  void SearchCaptures(int8_t pieceCode);
  void GeneratePlainMoves();
  bool FrisianKingBlocked(int cell) const;

  // Capture search (capture_search.cpp).
  bool IsOpponent(int8_t code) const { return code == theirMan_ || code == theirKing_; }
  bool CanCapture(int cell) const;
  void ExtendCapture(int cell, int depth, int kings, uint32_t value);
  void ExtendManCapture(int cell, int depth, int kings, uint32_t value);
  void ExtendKingCapture(int cell, int depth, int kings, uint32_t value);
  bool CanContinue(int cell, int depth) const;
  void RecordCapture(int depth, int kings, uint32_t value);
  void ClearList();
  void Append(const TMove& move);
  void DropRepeatedRoutes();

  TRuleSet rules_;
  TNewBoard board_{};
  std::array<int, 8> dirs_{};
  int8_t ownMan_ = WhiteMan, ownKing_ = WhiteKing, theirMan_ = BlackMan, theirKing_ = BlackKing;
  TDColor side_ = TDColor::white;
  TMove current_;
  TMoveList* list_ = nullptr;
  int count_ = 0;
  // Serial number of each list entry, counting appends: a king's landing
  // choice drops the entries appended since it began, which always stand at
  // the end of the list, however the list was emptied or compacted meanwhile.
  std::array<uint32_t, MaxMoves> serial_{};
  uint32_t nextSerial_ = 0;
  int bestLen_ = 0;
  int bestKings_ = 0;
  uint32_t bestValue_ = 0;
  int phase_ = 0;     // 0 kings, 1 men
  int kingBest_ = 0;  // bestLen_ when the king phase ended
  int pieces_ = 0;    // the mover's pieces met so far
};

}  // namespace kestrel
