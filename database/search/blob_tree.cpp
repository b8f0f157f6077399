#include "database/search/blob_tree.h"

#include <algorithm>
#include <array>
#include <utility>

#include "database/byte_order.h"
#include "database/game_blob.h"
#include "engine/packed_board.h"
#include "game/game.h"
#include "rules/game_types.h"
#include "rules/move.h"

namespace kestrel {
namespace {

// The root's move: nothing taken, no squares.
constexpr std::array<uint8_t, 2 * MaxCaptured + 1> NoSquares{};

bool SkipCounted(TByteReader& in) {
  uint32_t n = 0;
  std::span<const uint8_t> bytes;
  return in.BE(n, 2) && in.View(bytes, n);
}

bool ReadStart(TByteReader& in, int version, int type, TBrd& board) {
  const int squares = GameTypes[type].SquareCount;
  bool ok;
  if (version == 30 || squares == 72) {
    TPackedBoardNew packed;
    ok = in.Bytes(packed.data(), packed.size()) && UnpackBoard(packed, board);
  } else {
    std::array<uint8_t, 17> packed;
    ok = in.Bytes(packed.data(), packed.size()) && UnpackOldBoard(packed, board);
  }
  for (int s = squares + 1; s <= MaxSquares; ++s) board[s] = Empty;
  return ok;
}

}  // namespace

bool TBlobTree::Decode(std::span<const uint8_t> blob, int version, int type, int32_t lastMove) {
  if (!IsValidGameType(type) || version < 20 || version > 30) return false;
  const int last = std::max(lastMove, 0);
  if (last > MaxMoveSlots) return false;
  const std::size_t minSlot = version == 30 ? 5 : 4;
  if (static_cast<std::size_t>(last) > blob.size() / minSlot) return false;

  TByteReader in(blob);
  uint8_t startFlag = 0;
  if (!in.U8(startFlag)) return false;
  if (startFlag == 0) {
    if (!UnpackBoard(StandardStart(type), start_)) return false;
  } else if (!ReadStart(in, version, type, start_)) {
    return false;
  }
  if (version == 30 && !SkipCounted(in)) return false;

  nodes_.resize(static_cast<std::size_t>(last) + 1);
  nodes_[0] = TBlobNode{0, 0, false, true, NoSquares.data()};
  const int longParent = version == 30 ? 4 : 2;
  for (int slot = 1; slot <= last; ++slot) {
    TBlobNode& node = nodes_[slot];
    uint8_t flag = 0;
    if (!in.U8(flag)) return false;
    node.main = (flag & sfMain) != 0;
    node.used = (flag & sfFree) == 0;
    if ((flag & sfAnnotated) != 0) {
      uint32_t comm = 0;
      if (!in.BE(comm, 2) || !SkipCounted(in) || !SkipCounted(in)) return false;
    }
    uint32_t parent = 0;
    if (!in.BE(parent, (flag & sfShortParent) != 0 ? 1 : longParent)) return false;
    node.parent = static_cast<int32_t>(parent);
    if ((flag & sfShortCount) != 0) {
      node.lt = flag & sfCountBits;
    } else if (!in.U8(node.lt)) {
      return false;
    }
    if (node.lt > MaxCaptured) return false;
    uint8_t notation = 0;
    if (version == 30 && !in.U8(notation)) return false;
    std::span<const uint8_t> squares;
    if (!in.View(squares, node.lt == 0 ? 2 : 2 * node.lt + 1)) return false;
    node.mv = squares.data();
    if (node.used && (node.parent < 0 || node.parent > last || node.parent == slot)) return false;
  }
  return AllHangBelowRoot(last) && IndexChildren(last);
}

// Every used slot reaches the root through used slots, without a cycle.
// Each slot's chain is walked once; in the usual tree, where parents come
// before their children, every walk is a single step.
bool TBlobTree::AllHangBelowRoot(int last) {
  enum : uint8_t { unknown, reachable, broken, visiting };
  state_.assign(static_cast<std::size_t>(last) + 1, unknown);
  state_[0] = reachable;
  for (int i = 1; i <= last; ++i)
    if (!nodes_[i].used) state_[i] = broken;
  for (int i = 1; i <= last; ++i) {
    if (state_[i] != unknown) continue;
    chain_.clear();
    int s = i;
    uint8_t result = broken;
    while (true) {
      if (state_[s] == reachable || state_[s] == broken) {
        result = state_[s];
        break;
      }
      if (state_[s] == visiting) break;
      state_[s] = visiting;
      chain_.push_back(s);
      s = nodes_[s].parent;
    }
    if (result != reachable) return false;
    for (int32_t c : chain_) state_[c] = reachable;
  }
  return true;
}

bool TBlobTree::IndexChildren(int last) {
  first_.assign(static_cast<std::size_t>(last) + 2, 0);
  for (int i = 1; i <= last; ++i)
    if (nodes_[i].used) ++first_[nodes_[i].parent + 1];
  for (int i = 0; i <= last; ++i) {
    if (first_[i + 1] > MaxChildren) return false;
    first_[i + 1] += first_[i];
  }
  children_.resize(first_[last + 1]);
  chain_.assign(first_.begin(), first_.end() - 1);  // fill positions
  for (int i = 1; i <= last; ++i)
    if (nodes_[i].used) children_[chain_[nodes_[i].parent]++] = i;
  for (int node = 0; node <= last; ++node) {
    const int begin = first_[node], end = first_[node + 1];
    for (int j = begin; j < end; ++j)
      if (nodes_[children_[j]].main) std::swap(children_[j], children_[begin]);
  }
  return true;
}

}  // namespace kestrel
