#include <algorithm>

#include "database/byte_order.h"
#include "database/db_error.h"
#include "database/game_blob.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

void AppendCounted(std::vector<uint8_t>& out, const std::string& text) {
  const std::size_t n = std::min(text.size(), MaxCountedString);
  AppendBE(out, static_cast<uint32_t>(n), 2);
  out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace

TPackedBoardNew StandardStart(int type) {
  TPackedBoardNew packed;
  PackBoard(InitialPosition(type).b, packed);
  return packed;
}

bool IsStandardStart(const TPackedBoardNew& board, int type) {
  return IsValidGameType(type) && board == StandardStart(type);
}

void EncodeGameBlob(const TGame& game, std::vector<uint8_t>& out) {
  const int type = game.Header.TypeOfGame;
  if (!IsValidGameType(type)) throw TDatabaseError("cannot store a game of type " + std::to_string(type));
  const int last = std::max<int32_t>(game.Header.LastMove, 0);
  if (last >= game.SlotCount() || static_cast<std::size_t>(last) >= game.CommentsBef.size() ||
      static_cast<std::size_t>(last) >= game.CommentsAft.size())
    throw TDatabaseError("the game's last move slot is outside its move list");

  out.clear();
  if (IsStandardStart(game.StartBoard, type)) {
    out.push_back(0);
  } else {
    out.push_back(1);
    out.insert(out.end(), game.StartBoard.begin(), game.StartBoard.end());
  }
  AppendCounted(out, game.CommentsAft[0]);

  for (int i = 1; i <= last; ++i) {
    const TMove& m = game.Moves[i];
    if (m.lt > MaxCaptured) throw TDatabaseError("move slot " + std::to_string(i) + " is damaged");
    const std::string& before = game.CommentsBef[i];
    const std::string& after = game.CommentsAft[i];
    const bool annotated = m.comm != 0 || !before.empty() || !after.empty();
    const uint32_t parent = static_cast<uint32_t>(m.parent);
    const bool shortParent = parent < 256;
    const bool shortCount = m.lt < 8;
    uint8_t flag = 0;
    if (m.main) flag |= sfMain;
    if (m.free) flag |= sfFree;
    if (annotated) flag |= sfAnnotated;
    if (shortParent) flag |= sfShortParent;
    if (shortCount) flag |= static_cast<uint8_t>(sfShortCount | m.lt);
    out.push_back(flag);
    if (annotated) {
      AppendBE(out, m.comm, 2);
      AppendCounted(out, before);
      AppendCounted(out, after);
    }
    AppendBE(out, parent, shortParent ? 1 : 4);
    if (!shortCount) out.push_back(m.lt);
    out.push_back(m.flags);
    const int used = m.UsedBytes();
    out.insert(out.end(), m.mv.begin(), m.mv.begin() + used);
  }
}

}  // namespace kestrel
