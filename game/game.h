// A game in memory: header, names, start position, the move tree with its
// comments, and the position being looked at.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/packed_board.h"
#include "game/game_header.h"
#include "game/open_moves.h"
#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

// The tree grows one slot at a time up to this many entries of Moves.
constexpr int MaxMoveSlots = 64000;
// Continuations of one node; more than the legal moves of any position.
constexpr int MaxChildren = 254;

// Language entry of "Error: no free place".
constexpr int LangNoFreePlace = 54;

// Slot 0 is the start position; slot i >= 1 holds a move played from the
// position of node Moves[i].parent. Slots are never renumbered: deleting a
// move frees its slot, and later additions reuse the lowest free one.
struct TGame {
  TGameHeader Header;
  int32_t DBGameNo = 0;  // 0: in no database
  std::string DBName;
  bool Modified = false;
  std::string WhiteName;
  std::string BlackName;
  std::string AnnotatorName;
  std::string Tournament;
  std::string Site;
  TPackedBoardNew StartBoard{};
  std::vector<TMove> Moves;
  std::vector<std::string> CommentsBef;  // shown before the slot's move
  std::vector<std::string> CommentsAft;  // after it; [0] is the game comment
  TOpenMoves OpenMoves;
  TDColor SideToMove = TDColor::white;
  int32_t CurMovPos = 0;
  TBoard CurBoard{};
  bool Closed = false;
  bool Selected = false;

  // An empty board, no moves, the root slot in place.
  TGame();

  int SlotCount() const { return static_cast<int>(Moves.size()); }
  bool IsSlot(int slot) const { return slot >= 0 && slot < SlotCount(); }
  // Slot 0, or a slot holding a move.
  bool IsNode(int slot) const { return slot == 0 ? !Moves.empty() : IsSlot(slot) && !Moves[slot].free; }
};

// Children of one node in display order: the main child first.
struct TChildList {
  uint8_t count = 0;
  std::array<int32_t, MaxChildren> items{};

  const int32_t* begin() const { return items.data(); }
  const int32_t* end() const { return items.data() + count; }
};

// Outcome of adding a move to the tree.
enum class TAddStatus : uint8_t {
  added,            // a new slot holds the move
  existing,         // the same move was already there; its slot is returned
  cancelled,        // the user cancelled the question
  noFreePlace,      // the tree has reached MaxMoveSlots
  tooManyChildren,  // the node already has MaxChildren continuations
  badParent,        // the parent is no node of the tree
  badMove,          // the move record cannot be stored (too many captures)
};

struct TAddResult {
  int32_t slot = 0;  // 0 unless added or existing
  TAddStatus status = TAddStatus::added;

  bool ok() const { return status == TAddStatus::added || status == TAddStatus::existing; }
};

// Message to show for a failed addition; empty for added, existing, cancelled.
std::string_view AddStatusText(TAddStatus status);

// The game's own type; the current type when the header holds no valid one.
int GameTypeOf(const TGame& game);

}  // namespace kestrel
