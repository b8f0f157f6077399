// The twelve game types: board geometry and rule switches.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "rules/board.h"

namespace kestrel {

enum GameType : uint8_t {
  gtRussian = 1, gtEnglish, gtBrazilian, gtPool, gtItalian, gtInternational,
  gtCzech, gtSpanish, gtFrisian, gtSpantsiretti, gtCanadian, gtThai
};
constexpr int GameTypeCount = 12;

using TMailboxCells = std::array<uint8_t, MailboxSize>;

struct TGameTypeRec {
  uint8_t ManCaptureDirs;
  uint8_t KingDirs;
  uint8_t Step1;
  uint8_t Step2;
  uint8_t FirstCell;
  uint8_t LastCell;
  uint8_t BlackPromoteBelow;
  uint8_t WhitePromoteAbove;
  uint8_t SquareCount;
  uint8_t ShortKings;
  uint8_t PromoteInCapture;
  uint8_t MajorityCapture;
  uint8_t CountKings;
  uint8_t MenTakeKings;
  uint8_t KingCapturesFirst;
  uint8_t ImmediateRemoval;
  const TMailboxCells* MailboxCells;
  uint64_t BoardMask;
  uint8_t FlipShift;
};

// Indexed 1..12; entry 0 is unused so that GameTypes[type] reads naturally.
extern const std::array<TGameTypeRec, GameTypeCount + 1> GameTypes;
extern const std::array<std::string_view, GameTypeCount + 1> GameTypeNames;

// Board shape facts derived from the square count.
struct TBoardShape {
  int files;
  int ranks;
  int squaresPerRank;  // R
  int cellsPerTwoRanks;  // P
  int oddRankOffset;  // Q
};
TBoardShape BoardShape(int type);
int MenPerSide(int type);

bool IsValidGameType(int type);
// Accepts a name in any case ("russian", "SPANTSIRETTI") or a number 1..12.
std::optional<int> ParseGameType(std::string_view text);

// Mailbox cell of a square (1-based) on the type's board.
int SquareToCell(int square, int type);
// Number of cells 0..cell (inclusive) that hold a square: the square on `cell`.
int IndexToSquare(int cell, int type);
bool IsPromotionSquare(int square, TDColor side, int type);

// The start position of a new game of this type.
const TBoard& InitialPosition(int type);

void FlipBoard(TBrd& brd, int type);
void BoardToNewBoard(const TBoard& board, TNewBoard& newboard, int type);

}  // namespace kestrel
