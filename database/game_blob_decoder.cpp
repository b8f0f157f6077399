#include <algorithm>
#include <array>

#include "database/byte_order.h"
#include "database/game_blob.h"
#include "engine/packed_board.h"
#include "game/move_tree.h"
#include "game/tree_check.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

bool Fail(std::string& error, std::string text) {
  error = std::move(text);
  return false;
}

bool ReadCounted(TByteReader& in, std::string& text) {
  uint32_t n = 0;
  std::span<const uint8_t> bytes;
  if (!in.BE(n, 2) || !in.View(bytes, n)) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

// Cells beyond the board are empty in every stored position; bytes that are
// no packed position at all fail.
bool ReadStartBoard(TByteReader& in, int version, int type, TPackedBoardNew& start) {
  const int squares = GameTypes[type].SquareCount;
  TBrd board;
  if (version == 30 || squares == 72) {
    TPackedBoardNew packed;
    if (!in.Bytes(packed.data(), packed.size()) || !UnpackBoard(packed, board)) return false;
  } else {
    std::array<uint8_t, 17> packed;
    if (!in.Bytes(packed.data(), packed.size()) || !UnpackOldBoard(packed, board)) return false;
  }
  for (int s = squares + 1; s <= MaxSquares; ++s) board[s] = Empty;
  PackBoard(board, start);
  return true;
}

bool ReadSlot(TByteReader& in, int version, int slot, TGame& game, std::string& error) {
  const std::string where = "move slot " + std::to_string(slot);
  TMove m;
  uint8_t flag = 0;
  if (!in.U8(flag)) return Fail(error, where + ": the data ends early");
  m.main = (flag & sfMain) != 0;
  m.free = (flag & sfFree) != 0;
  std::string& before = game.CommentsBef[slot];
  std::string& after = game.CommentsAft[slot];
  before.clear();
  after.clear();
  if ((flag & sfAnnotated) != 0) {
    uint32_t comm = 0;
    if (!in.BE(comm, 2) || !ReadCounted(in, before) || !ReadCounted(in, after))
      return Fail(error, where + ": the annotation ends early");
    m.comm = static_cast<uint16_t>(comm);
  }
  uint32_t parent = 0;
  const int parentBytes = (flag & sfShortParent) != 0 ? 1 : version == 30 ? 4 : 2;
  if (!in.BE(parent, parentBytes)) return Fail(error, where + ": the data ends early");
  m.parent = static_cast<int32_t>(parent);
  if ((flag & sfShortCount) != 0) {
    m.lt = flag & sfCountBits;
  } else if (!in.U8(m.lt)) {
    return Fail(error, where + ": the data ends early");
  }
  if (m.lt > MaxCaptured) return Fail(error, where + ": " + std::to_string(m.lt) + " captured pieces");
  if (version == 30 && !in.U8(m.flags)) return Fail(error, where + ": the data ends early");
  if (!in.Bytes(m.mv.data(), static_cast<std::size_t>(m.UsedBytes())))
    return Fail(error, where + ": the squares end early");
  if (!m.free && (m.parent < 0 || m.parent > game.Header.LastMove || m.parent == slot))
    return Fail(error, where + ": parent " + std::to_string(m.parent) + " is no slot of the game");
  game.Moves[slot] = m;
  return true;
}

}  // namespace

bool DecodeGameBlob(std::span<const uint8_t> blob, int version, TGame& game, std::string& error) {
  const int type = game.Header.TypeOfGame;
  if (!IsValidGameType(type)) return Fail(error, "game type " + std::to_string(type) + " is unknown");
  if (version < 20 || version > 30) return Fail(error, "format version " + std::to_string(version) + " is unknown");
  if (game.Header.LastMove < 0) game.Header.LastMove = 0;
  const int last = game.Header.LastMove;
  if (last > MaxMoveSlots) return Fail(error, std::to_string(last) + " move slots are more than a game holds");
  // Each slot takes a flag, a parent and two squares at least, and the
  // version 30 flags byte: refuse sizes the data cannot hold before
  // allocating anything for them.
  const std::size_t minSlot = version == 30 ? 5 : 4;
  if (static_cast<std::size_t>(last) > blob.size() / minSlot)
    return Fail(error, std::to_string(last) + " move slots cannot fit in " + std::to_string(blob.size()) + " bytes");

  TByteReader in(blob);
  uint8_t startFlag = 0;
  if (!in.U8(startFlag)) return Fail(error, "the data is empty");
  if (startFlag == 0) {
    game.StartBoard = StandardStart(type);
  } else if (!ReadStartBoard(in, version, type, game.StartBoard)) {
    return Fail(error, "the start position is damaged");
  }

  if (game.Moves.empty()) game.Moves.resize(1);
  if (game.SlotCount() < last + 1) game.Moves.resize(last + 1);
  EnsureCommentArrays(game);
  game.Moves[0].free = false;
  game.Moves[0].parent = 0;
  game.CommentsBef[0].clear();
  if (version == 30) {
    if (!ReadCounted(in, game.CommentsAft[0])) return Fail(error, "the game comment ends early");
  } else {
    game.CommentsAft[0].clear();
  }
  for (int i = 1; i <= last; ++i)
    if (!ReadSlot(in, version, i, game, error)) return false;
  for (int i = last + 1; i < game.SlotCount(); ++i) ClearMove(game, i);

  const std::string fault = CheckMoveTree(game);
  if (!fault.empty()) return Fail(error, "the move tree is damaged: " + fault);
  return true;
}

}  // namespace kestrel
